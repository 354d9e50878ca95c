#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>

#include "platform/widgets/automation/automation_export.h"

class QKeyEvent;
class QMimeData;

namespace morvane::automation {

// Standard event arguments of controls, as hosts receive them.

// Bits of the Button argument of mouse events.
enum ButtonBit : std::int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
// Bits of the Shift argument of mouse and key events.
enum ShiftBit : std::int16_t { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

// Key codes of key events, as KeyCodeOf gives them; letters and digits are their
// upper-case character codes.
namespace keycode {
inline constexpr std::int16_t kBack = 8;
inline constexpr std::int16_t kTab = 9;
inline constexpr std::int16_t kReturn = 13;
inline constexpr std::int16_t kPause = 19;
inline constexpr std::int16_t kEscape = 27;
inline constexpr std::int16_t kSpace = 32;
inline constexpr std::int16_t kPageUp = 33;
inline constexpr std::int16_t kPageDown = 34;
inline constexpr std::int16_t kEnd = 35;
inline constexpr std::int16_t kHome = 36;
inline constexpr std::int16_t kLeft = 37;
inline constexpr std::int16_t kUp = 38;
inline constexpr std::int16_t kRight = 39;
inline constexpr std::int16_t kDown = 40;
inline constexpr std::int16_t kInsert = 45;
inline constexpr std::int16_t kDelete = 46;
inline constexpr std::int16_t kA = 65;
inline constexpr std::int16_t kC = 67;
inline constexpr std::int16_t kF1 = 112;
// F1 to F24 follow one another.
constexpr std::int16_t F(int n) { return static_cast<std::int16_t>(kF1 + n - 1); }
}  // namespace keycode

// The Button mask: kLeftButton, kRightButton, kMiddleButton or'ed.
MORVANE_AUTOMATION_API std::int16_t ButtonMask(Qt::MouseButtons buttons);
// The Shift mask: kShiftKey, kCtrlKey, kAltKey or'ed.
MORVANE_AUTOMATION_API std::int16_t ShiftMask(Qt::KeyboardModifiers modifiers);
// The key code of a key event (65 for A, 37 for the left arrow, 112 for F1, ...);
// 0 for a key that has none.
MORVANE_AUTOMATION_API std::int16_t KeyCodeOf(const QKeyEvent& event);
// The character code of a typed key (KeyPress), 0 when the key types nothing.
MORVANE_AUTOMATION_API std::int16_t KeyAsciiOf(const QKeyEvent& event);

// Drop effects: 0 none, 1 copy, 2 move, 4 link; and the drag-over states.
inline constexpr std::int32_t kDropEffectNone = 0;
inline constexpr std::int32_t kDropEffectCopy = 1;
inline constexpr std::int32_t kDropEffectMove = 2;
inline constexpr std::int32_t kDropEffectLink = 4;
inline constexpr std::int16_t kDragEnter = 0;
inline constexpr std::int16_t kDragLeave = 1;
inline constexpr std::int16_t kDragOver = 2;
MORVANE_AUTOMATION_API std::int32_t DropEffectsOf(Qt::DropActions actions);
// The one action an effect asks for (copy before move before link); IgnoreAction for 0.
MORVANE_AUTOMATION_API Qt::DropAction DropActionOf(std::int32_t effect);

// Clipboard formats a data object is asked for.
inline constexpr std::int16_t kFormatText = 1;
inline constexpr std::int16_t kFormatBitmap = 2;
inline constexpr std::int16_t kFormatFiles = 15;

// The data of a drag, as a drop event hands it to the host: the files (local paths),
// the text, and the image, whichever the source offered.
class MORVANE_AUTOMATION_API DataObject {
 public:
  DataObject() = default;
  static DataObject FromMimeData(const QMimeData* mime);

  bool GetFormat(std::int16_t format) const;
  // The data in a format: the text, the image, or the file list; invalid when absent.
  QVariant GetData(std::int16_t format) const;
  const QStringList& Files() const { return files_; }
  // The same files as the file system's bytes: a name that is not UTF-8 keeps them,
  // which its text in Files() cannot.
  const QList<QByteArray>& NativeFiles() const { return nativeFiles_; }
  void SetFiles(QStringList files);
  void SetText(QString text) {
    text_ = std::move(text);
    hasText_ = true;
  }

 private:
  QStringList files_;
  QList<QByteArray> nativeFiles_;
  QString text_;
  bool hasText_ = false;
  QImage image_;
};

// The argument lists of the standard events, built one way for every control.
// MouseDown, MouseMove, MouseUp: Button, Shift, X, Y (X and Y as the control reports
// them, in twips or image units).
MORVANE_AUTOMATION_API QVariantList MouseEventArgs(Qt::MouseButtons buttons,
                                                   Qt::KeyboardModifiers modifiers, float x, float y);
// KeyDown, KeyUp: KeyCode, Shift.
MORVANE_AUTOMATION_API QVariantList KeyEventArgs(const QKeyEvent& event);
MORVANE_AUTOMATION_API QVariantList KeyEventArgs(std::int16_t keyCode, std::int16_t shift);
// KeyPress: KeyAscii.
MORVANE_AUTOMATION_API QVariantList KeyPressArgs(std::int16_t keyAscii);
// OLEDragOver (with its state) and OLEDragDrop (without): Data, Effect, Button, Shift,
// X, Y[, State].
MORVANE_AUTOMATION_API QVariantList DragEventArgs(const DataObject& data, std::int32_t effect,
                                                  std::int16_t button, std::int16_t shift, float x,
                                                  float y,
                                                  std::optional<std::int16_t> state = std::nullopt);

// Mouse-pointer values of controls (0 default, 2 crosshair, 10 up arrow, 11
// hourglass, 99 custom icon, ...) as a cursor; false for 0, which leaves the
// widget's cursor unset. An unknown value is refused with error 380.
MORVANE_AUTOMATION_API bool CursorOfPointer(std::int16_t pointer, const QImage& icon, QCursor* cursor);

}  // namespace morvane::automation

Q_DECLARE_METATYPE(morvane::automation::DataObject)
