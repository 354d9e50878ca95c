#pragma once

#include <QCursor>
#include <QImage>
#include <QMetaType>
#include <QStringList>
#include <QVariant>

#include <cstdint>

#include "platform/widgets/automation/automation_export.h"

class QKeyEvent;
class QMimeData;

namespace morvane::automation {

// Standard event arguments of controls, as hosts receive them.

// Button masks of mouse events: 1 left, 2 right, 4 middle.
MORVANE_AUTOMATION_API std::int16_t ButtonMask(Qt::MouseButtons buttons);
// Shift masks of mouse and key events: 1 Shift, 2 Ctrl, 4 Alt.
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
  void SetFiles(QStringList files) { files_ = std::move(files); }
  void SetText(QString text) { text_ = std::move(text); hasText_ = true; }

 private:
  QStringList files_;
  QString text_;
  bool hasText_ = false;
  QImage image_;
};

// Mouse-pointer values of controls (0 default, 2 crosshair, 10 up arrow, 11
// hourglass, 99 custom icon, ...) as a cursor; false for 0, which leaves the
// widget's cursor unset. An unknown value is refused with error 380.
MORVANE_AUTOMATION_API bool CursorOfPointer(std::int16_t pointer, const QImage& icon, QCursor* cursor);

}  // namespace morvane::automation

Q_DECLARE_METATYPE(morvane::automation::DataObject)
