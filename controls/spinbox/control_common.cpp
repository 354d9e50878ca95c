#include "controls/spinbox/control_common.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPixmap>

#include <algorithm>
#include <cmath>

#include "common/app_version.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/services.h"

namespace morvane::spinbox {

namespace {

constexpr double kTwipsPerPixel = 15.0;

std::int32_t RoundTwips(double twips) {
  return static_cast<std::int32_t>(std::nearbyint(std::clamp(twips, -2147483648.0, 2147483647.0)));
}

}  // namespace

QString VersionText(const core::VersionRecord& record) {
  return QLatin1Char(' ') + QString::fromStdString(common::GetAppVersion(false, record));
}

QString VersionText() { return VersionText(core::ThisVersionRecord()); }

void ShowAboutBox(QWidget* owner) {
  const core::VersionRecord& record = core::ThisVersionRecord();
  // The version text's leading blank separates it from "Version".
  const QString text = QString::fromStdString(record.title) + QStringLiteral("\r\n\r\nVersion") + VersionText(record);
  widgets::MessageBoxes().Show(owner, text, widgets::kInformation, QStringLiteral("About..."));
}

QColor ColorOf(std::uint32_t oleColor) { return QColor::fromRgb(gui::ResolveColor(oleColor)); }

std::int32_t TextWidthTwips(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  double widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    QString plain = line;
    if (plain.endsWith(QLatin1Char('\r'))) plain.chop(1);
    widest = std::max(widest, metrics.horizontalAdvance(plain));
  }
  return RoundTwips(widest * kTwipsPerPixel);
}

std::int32_t TextHeightTwips(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  const auto lines = text.count(QLatin1Char('\n')) + 1;
  return RoundTwips(static_cast<double>(lines) * metrics.height() * kTwipsPerPixel);
}

std::int16_t KeyCodeOf(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::int16_t>(key);  // 65..90
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const int digit = key - Qt::Key_0;
    return static_cast<std::int16_t>((event.modifiers() & Qt::KeypadModifier) ? 96 + digit : 48 + digit);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::int16_t>(112 + (key - Qt::Key_F1));
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
    case Qt::Key_Menu: return 93;
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return (event.modifiers() & Qt::KeypadModifier) ? 109 : 189;
    case Qt::Key_Slash: return (event.modifiers() & Qt::KeypadModifier) ? 111 : 191;
    case Qt::Key_Period: return (event.modifiers() & Qt::KeypadModifier) ? 110 : 190;
    case Qt::Key_Comma: return 188;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: return 0;
  }
}

std::int16_t ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  int state = 0;
  if (modifiers & Qt::ShiftModifier) state |= 1;
  if (modifiers & Qt::ControlModifier) state |= 2;
  if (modifiers & Qt::AltModifier) state |= 4;
  return static_cast<std::int16_t>(state);
}

std::int16_t ButtonsOf(Qt::MouseButtons buttons) {
  int mask = 0;
  if (buttons & Qt::LeftButton) mask |= 1;
  if (buttons & Qt::RightButton) mask |= 2;
  if (buttons & Qt::MiddleButton) mask |= 4;
  return static_cast<std::int16_t>(mask);
}

std::int16_t KeyAsciiOf(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  return static_cast<std::int16_t>(text.at(0).unicode());
}

bool ValidMousePointer(int pointer) { return (pointer >= 0 && pointer <= 15) || pointer == 99; }

void ApplyMousePointer(QWidget& widget, int pointer, const QImage& icon) {
  static const Qt::CursorShape kShapes[] = {
      Qt::ArrowCursor,      Qt::ArrowCursor,     Qt::CrossCursor,    Qt::IBeamCursor,
      Qt::ArrowCursor,      Qt::SizeAllCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor,
      Qt::SizeFDiagCursor,  Qt::SizeHorCursor,   Qt::UpArrowCursor,  Qt::WaitCursor,
      Qt::ForbiddenCursor,  Qt::BusyCursor,      Qt::WhatsThisCursor, Qt::SizeAllCursor};
  if (pointer == 0) {
    widget.unsetCursor();
  } else if (pointer == 99) {
    if (icon.isNull()) {
      widget.unsetCursor();
    } else {
      widget.setCursor(QCursor(QPixmap::fromImage(icon)));
    }
  } else if (pointer > 0 && pointer <= 15) {
    widget.setCursor(kShapes[pointer]);
  }
}

}  // namespace morvane::spinbox
