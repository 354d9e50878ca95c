#include "platform/widgets/automation/control_events.h"

#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPixmap>
#include <QUrl>

#include <utility>

#include "platform/widgets/automation/automation_error.h"

namespace morvane::automation {

std::int16_t ButtonMask(Qt::MouseButtons buttons) {
  std::int16_t mask = 0;
  if (buttons & Qt::LeftButton) mask |= kLeftButton;
  if (buttons & Qt::RightButton) mask |= kRightButton;
  if (buttons & Qt::MiddleButton) mask |= kMiddleButton;
  return mask;
}

std::int16_t ShiftMask(Qt::KeyboardModifiers modifiers) {
  std::int16_t mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= kShiftKey;
  if (modifiers & Qt::ControlModifier) mask |= kCtrlKey;
  if (modifiers & Qt::AltModifier) mask |= kAltKey;
  return mask;
}

std::int16_t KeyCodeOf(const QKeyEvent& event) {
  const int key = event.key();
  const bool keypad = (event.modifiers() & Qt::KeypadModifier) != 0;
  if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<std::int16_t>(96 + key - Qt::Key_0);
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return static_cast<std::int16_t>(key);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::int16_t>(112 + key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Help: return 47;
    case Qt::Key_Asterisk: return keypad ? 106 : 56;
    case Qt::Key_Plus: return keypad ? 107 : 187;
    case Qt::Key_Minus: return keypad ? 109 : 189;
    case Qt::Key_Period: return keypad ? 110 : 190;
    case Qt::Key_Slash: return keypad ? 111 : 191;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Equal: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_BracketLeft: return 219;
    case Qt::Key_Backslash: return 220;
    case Qt::Key_BracketRight: return 221;
    case Qt::Key_Apostrophe: return 222;
    default: return 0;
  }
}

std::int16_t KeyAsciiOf(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() != 1) return 0;
  const char16_t c = text.at(0).unicode();
  return c < 256 ? static_cast<std::int16_t>(c) : 0;
}

QVariantList MouseEventArgs(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, float x,
                            float y) {
  return {QVariant::fromValue(ButtonMask(buttons)), QVariant::fromValue(ShiftMask(modifiers)),
          QVariant::fromValue(x), QVariant::fromValue(y)};
}

QVariantList KeyEventArgs(std::int16_t keyCode, std::int16_t shift) {
  return {QVariant::fromValue(keyCode), QVariant::fromValue(shift)};
}

QVariantList KeyEventArgs(const QKeyEvent& event) {
  return KeyEventArgs(KeyCodeOf(event), ShiftMask(event.modifiers()));
}

QVariantList KeyPressArgs(std::int16_t keyAscii) { return {QVariant::fromValue(keyAscii)}; }

QVariantList DragEventArgs(const DataObject& data, std::int32_t effect, std::int16_t button,
                           std::int16_t shift, float x, float y, std::optional<std::int16_t> state) {
  QVariantList args{QVariant::fromValue(data),  QVariant::fromValue(effect), QVariant::fromValue(button),
                    QVariant::fromValue(shift), QVariant::fromValue(x),      QVariant::fromValue(y)};
  if (state) args << QVariant::fromValue(*state);
  return args;
}

std::int32_t DropEffectsOf(Qt::DropActions actions) {
  std::int32_t effect = kDropEffectNone;
  if (actions & Qt::CopyAction) effect |= kDropEffectCopy;
  if (actions & Qt::MoveAction) effect |= kDropEffectMove;
  if (actions & Qt::LinkAction) effect |= kDropEffectLink;
  return effect;
}

Qt::DropAction DropActionOf(std::int32_t effect) {
  if (effect & kDropEffectCopy) return Qt::CopyAction;
  if (effect & kDropEffectMove) return Qt::MoveAction;
  if (effect & kDropEffectLink) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

DataObject DataObject::FromMimeData(const QMimeData* mime) {
  DataObject data;
  if (mime == nullptr) return data;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) continue;
    data.files_ << url.toLocalFile();
    // The path's bytes from its percent-encoding: decoded to text, bytes that are not
    // UTF-8 would be lost.
    data.nativeFiles_ << QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  }
  if (mime->hasText()) data.SetText(mime->text());
  if (mime->hasImage()) data.image_ = qvariant_cast<QImage>(mime->imageData());
  return data;
}

void DataObject::SetFiles(QStringList files) {
  nativeFiles_.clear();
  for (const QString& file : files) nativeFiles_ << QFile::encodeName(file);
  files_ = std::move(files);
}

bool DataObject::GetFormat(std::int16_t format) const {
  switch (format) {
    case kFormatText: return hasText_;
    case kFormatBitmap: return !image_.isNull();
    case kFormatFiles: return !files_.isEmpty();
    default: return false;
  }
}

QVariant DataObject::GetData(std::int16_t format) const {
  if (!GetFormat(format)) return {};
  switch (format) {
    case kFormatText: return text_;
    case kFormatBitmap: return image_;
    default: return files_;
  }
}

bool CursorOfPointer(std::int16_t pointer, const QImage& icon, QCursor* cursor) {
  Qt::CursorShape shape = Qt::ArrowCursor;
  switch (pointer) {
    case 0: return false;
    case 1: shape = Qt::ArrowCursor; break;
    case 2: shape = Qt::CrossCursor; break;
    case 3: shape = Qt::IBeamCursor; break;
    case 4: shape = Qt::ArrowCursor; break;
    case 5: shape = Qt::SizeAllCursor; break;
    case 6: shape = Qt::SizeBDiagCursor; break;
    case 7: shape = Qt::SizeVerCursor; break;
    case 8: shape = Qt::SizeFDiagCursor; break;
    case 9: shape = Qt::SizeHorCursor; break;
    case 10: shape = Qt::UpArrowCursor; break;
    case 11: shape = Qt::WaitCursor; break;
    case 12: shape = Qt::ForbiddenCursor; break;
    case 13: shape = Qt::BusyCursor; break;
    case 14: shape = Qt::WhatsThisCursor; break;
    case 15: shape = Qt::SizeAllCursor; break;
    case 99:
      if (icon.isNull()) return false;
      if (cursor != nullptr) *cursor = QCursor(QPixmap::fromImage(icon));
      return true;
    default: throw AutomationError(kErrInvalidPropertyValue);
  }
  if (cursor != nullptr) *cursor = QCursor(shape);
  return true;
}

}  // namespace morvane::automation
