#pragma once

// The window's dialog and popup service: the help file path and its contents, the
// colour dialog (modal, or open beside the window so that the dropper can hand it
// colours), the file-open dialog, and the message popup with buttons and links.

#include <QColorDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

#include "platform/widgets/file_dialog.h"
#include "platform/widgets/message_popup.h"

class QWidget;

namespace morvane::app {

class DialogService {
 public:
  explicit DialogService(QWidget* owner = nullptr);
  ~DialogService();

  // --- help ---
  // The help file path: what is set reads back.
  QString HelpFile() const { return helpFile_; }
  void SetHelpFile(const QString& path) { helpFile_ = path; }
  // The topics file that stands for the help file, beside it; the one place that says
  // where the program's help is and whether it is there.
  QString TopicsFile() const;
  bool HelpFileExists() const;
  // What ShowHelp shows, numbered as the service's callers numbered it.
  enum class HelpCommand : std::int32_t { Contents = 3 };
  // Contents shows the help file's contents; false when nothing was shown.
  bool ShowHelp(HelpCommand command);
  std::int32_t HelpContextId = 0;

  // --- colour dialog ---
  // OLE colour (red in the low byte). Written while the dialog is open, the dialog
  // shows it.
  std::int32_t Color() const { return color_; }
  void SetColor(std::int32_t color);
  // Beside: the dialog stays open beside the window, which keeps taking clicks (the
  // dropper's); Modal: the dialog is modal.
  enum class ColorDialogMode : std::int32_t { Beside = 0, Modal = 1 };
  ColorDialogMode Mode = ColorDialogMode::Modal;
  // Whether the user confirmed; Color() then holds the choice.
  bool ShowColor();
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
  using PopupButton = widgets::MessagePopup::Button;
  void ClearButtons() { PopupControl().ClearButtons(); }
  // The reference stays valid until the next add or clear.
  PopupButton& AddButton(const QString& caption) { return PopupControl().AddButton(caption); }
  const QList<PopupButton>& Buttons() { return PopupControl().Buttons(); }
  // The popup's look, kept as the caller sets it.
  std::int32_t Style = 1;
  // Shows the rich text under the caption with the buttons; the 1-based number of the
  // button pressed, 0 when it closed without one (Hide, or no Cancel button).
  int Popup(const QString& richText, const QString& caption);
  // A link of the popup clicked: the popup and the line the link is on.
  std::function<void(widgets::MessagePopup& popup, int line)> LinkClick;
  // The popup now shown; null when none.
  widgets::MessagePopup* OpenPopup() const;
  // The popup itself, made on first use: its buttons last from one showing to the next.
  widgets::MessagePopup& PopupControl();

  // Where help is shown: the contents for ShowHelp, a topic for a dialog's Help.
  std::function<void(const QString& helpFile, std::int32_t contextId)> HelpRequested;

 private:
  QWidget* owner_;
  QString helpFile_;
  std::int32_t color_ = 0;
  QPointer<QColorDialog> colorDialog_;
  QPointer<widgets::MessagePopup> popup_;
  widgets::FileDialog files_;
};

}  // namespace morvane::app
