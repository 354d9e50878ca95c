#pragma once

// The window's dialog and popup service: the help file path and its contents, the
// colour dialog (modal, or open beside the window so that the dropper can hand it
// colours), the file-open dialog, and the message popup with buttons and links.

#include <QColorDialog>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/widgets/file_dialog.h"

class QWidget;

namespace morvane::app {

// One run of the popup's rich text: its characters and how they look.
struct TextRun {
  QString text;
  int line = 1;             // 1-based; \par starts the next
  bool underline = false;   // underlined runs are links
  std::int32_t colour = -1; // 0xRRGGBB from the colour table, -1 for the default
  int halfPoints = 0;       // \fs; 0 for the default size
  bool operator==(const TextRun&) const = default;
};

// The small rich-text subset the program sends: groups, \par, \cf with its \colortbl,
// \ul and \ulnone, \fs; escaped \\, \{ and \}. Other control words are passed over.
// Adjacent characters of one look make one run.
std::vector<TextRun> ParseRichText(const QString& rtf);

// The runs as HTML for a label: every character escaped, underlined runs as links
// whose address is "link:" and the run's line.
QString RichTextHtml(const std::vector<TextRun>& runs);

// The popup now shown, handed to the link-click handler; Hide closes it without a
// button.
class MessagePopup {
 public:
  explicit MessagePopup(QDialog* dialog) : dialog_(dialog) {}
  void Hide();
  QDialog* Dialog() const { return dialog_; }

 private:
  QPointer<QDialog> dialog_;
};

class DialogService {
 public:
  explicit DialogService(QWidget* owner = nullptr);
  ~DialogService();

  // --- help ---
  // The help file path: what is set reads back.
  QString HelpFile() const { return helpFile_; }
  void SetHelpFile(const QString& path) { helpFile_ = path; }
  // Command 3 shows the help file's contents; false when nothing was shown.
  bool ShowHelp(int command);
  std::int32_t HelpContextId = 0;

  // --- colour dialog ---
  // OLE colour (red in the low byte). Written while the dialog is open, the dialog
  // shows it.
  std::int32_t Color() const { return color_; }
  void SetColor(std::int32_t color);
  // 0: the dialog stays open beside the window, which keeps taking clicks (the
  // dropper's); anything else: the dialog is modal.
  std::int32_t Mode = 1;
  // 1 when the user confirmed; Color() then holds the choice.
  std::int32_t ShowColor();
  // The colour dialog now open, for tests; null when none.
  QColorDialog* OpenColorDialog() const { return colorDialog_; }

  // --- file-open dialog ---
  std::int32_t Flags = 0;
  QString DialogTitle;
  QString Filter;
  QString FileName;
  QString InitDir;
  // Called with the dialog before it shows (a caller's own filtering, for instance).
  std::function<void(QFileDialog& dialog)> InitFileDialog;
  // After it, FileName holds the user's choice, empty when cancelled.
  void ShowOpen();

  // --- message popup ---
  struct PopupButton {
    QString caption;
    bool Cancel = false;   // Escape and the close box press it
    bool Default = false;  // Enter presses it
  };
  void ClearButtons() { buttons_.clear(); }
  PopupButton& AddButton(const QString& caption);
  QList<PopupButton>& Buttons() { return buttons_; }
  // The popup's look, kept as the caller sets it.
  std::int32_t Style = 1;
  // Shows the rich text under the caption with the buttons; the 1-based number of the
  // button pressed, 0 when it closed without one (Hide, or no Cancel button).
  int Popup(const QString& richText, const QString& caption);
  // A link of the popup clicked: the popup and the line the link is on.
  std::function<void(MessagePopup& popup, int line)> LinkClick;
  // The popup now shown, for tests; null when none.
  QDialog* OpenPopup() const { return popup_; }

  // Where help is shown: the contents for ShowHelp(3), a topic for a dialog's Help.
  std::function<void(const QString& helpFile, std::int32_t contextId)> HelpRequested;

 private:
  QWidget* owner_;
  QString helpFile_;
  std::int32_t color_ = 0;
  QPointer<QColorDialog> colorDialog_;
  QPointer<QDialog> popup_;
  QList<PopupButton> buttons_;
  widgets::FileDialog files_;
};

}  // namespace morvane::app
