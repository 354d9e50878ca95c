#pragma once

// The outside dialog control's message popup: rich text, a row of buttons and links.
// The rich text is the small part of RTF that popups use: groups, "\par" (and "\line")
// line breaks, a colour table with "\cfN", "\ul" underline, "\fsN" sizes, "\'hh"
// characters and the escapes "\\", "\{", "\}"; other control words are skipped, and
// the font table, style sheet and info groups show nothing. Text is always shown as
// text, never as markup.
//
// An underlined run is a link; a click on it raises LinkClick with the number of the
// line (from 1) the link stands on.

#include <QDialog>
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

class QHBoxLayout;
class QLabel;

namespace morvane::widgets {

// One run of popup rich text: its characters and how they look.
struct PopupTextRun {
  QString text;
  int line = 1;              // 1-based; \par starts the next
  bool underline = false;    // underlined runs are links
  std::int32_t colour = -1;  // 0xRRGGBB from the colour table, -1 for the default
  int halfPoints = 0;        // \fs; 0 for the default size
  bool operator==(const PopupTextRun&) const = default;
};

// Adjacent characters of one look make one run.
std::vector<PopupTextRun> ParsePopupRichText(const QString& rtf);

// The runs as HTML for a label: every character escaped, underlined runs as links
// <a href="N"> with N their line number.
QString PopupRunsToHtml(const std::vector<PopupTextRun>& runs);

// The HTML for a popup's rich text.
QString PopupRichTextToHtml(const QString& rtf);

// Escapes text for a place inside popup rich text: "\", "{" and "}" lose their meaning.
QString EscapePopupText(const QString& text);

class MessagePopup : public QDialog {
  Q_OBJECT

 public:
  struct Button {
    QString caption;
    bool cancel = false;     // Escape and the window's close press it
    bool isDefault = false;  // Enter presses it
  };

  explicit MessagePopup(QWidget* owner = nullptr);
  ~MessagePopup() override;

  void ClearButtons() { buttons_.clear(); }
  // Adds a button at the end; the reference stays valid until the next add or clear.
  Button& AddButton(const QString& caption);
  const QList<Button>& Buttons() const { return buttons_; }

  // Shows the text modally under the caption; the 1-based number of the button
  // pressed, 0 when the popup was hidden or closed without one.
  int Popup(const QString& richText, const QString& caption);
  // Closes the popup as if no button were pressed.
  void Hide();

  // The label showing the text, for tests.
  QLabel* TextLabel() const { return text_; }

 signals:
  void LinkClick(morvane::widgets::MessagePopup* popup, int number);

 private:
  QList<Button> buttons_;
  QLabel* text_ = nullptr;
  QHBoxLayout* row_ = nullptr;
  bool hiddenByCall_ = false;
};

}  // namespace morvane::widgets
