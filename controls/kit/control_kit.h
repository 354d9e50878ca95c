#pragma once

// What the controls share: the version text, the program controls' About box,
// colours, text measures and mouse pointers. Their events translate Qt's input with
// the hosting layer's control_events.h; the libraries' own About box is in
// library_about.h.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <utility>

#include "platform/core/version_record.h"

namespace morvane::kit {

// The version text that both controls' Version returns: a blank, the major number,
// ".", the minor number in two digits and, when the revision is 1 or more, "." and
// the revision in four digits (" 1.05", " 1.05.0007").
QString VersionText(const core::VersionRecord& record);
QString VersionText();  // of the program
// The splitter's and the image control's version text: the same without the blank
// ("1.05", "1.05.0007"), of the module that calls it.
QString PlainVersionText(const core::VersionRecord& record);
QString PlainVersionText();

// An information box titled "About...": the program's title, a blank line, "Version"
// and the version text.
void ShowAboutBox(QWidget* owner);

// A 32-bit colour value (red in the low byte; the high bit names a system colour)
// as the colour to paint, system colours through the application's palette.
QColor ColorOf(std::uint32_t oleColor);

// Text measures in twips, rounded to whole twips (halves to even). A text of several
// lines is as high as its lines and as wide as its widest line.
std::int32_t TextWidthTwips(const QFont& font, const QString& text);
std::int32_t TextHeightTwips(const QFont& font, const QString& text);

// Mouse pointer values (0 default, 1 arrow, 2 cross, 3 I-beam, ..., 15 size all, 99
// the custom icon); ValidMousePointer tells those from the rest.
bool ValidMousePointer(int pointer);
// Applies a pointer value to a widget: 0 leaves the widget's own pointer, 99 shows the
// icon (or the default pointer when the icon is empty).
void ApplyMousePointer(QWidget& widget, int pointer, const QImage& icon);

// A control's MousePointer and MouseIcon, shown on the widget that carries its pointer;
// each change goes to the control's property-change notice.
class PointerSetting {
 public:
  using Notice = std::function<void(const char* property)>;
  explicit PointerSetting(Notice announce) : announce_(std::move(announce)) {}

  std::int16_t Pointer() const { return pointer_; }
  const QImage& Icon() const { return icon_; }
  // Refuses a value that names no pointer (invalid property value); else keeps it and
  // shows it on the widget.
  void LetPointer(QWidget& widget, std::int16_t pointer);
  void SetIcon(QWidget& widget, const QImage& icon);

 private:
  Notice announce_;
  std::int16_t pointer_ = 0;
  QImage icon_;
};

}  // namespace morvane::kit
