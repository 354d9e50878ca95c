#include "controls/kit/control_kit.h"

#include <QFontMetricsF>

#include <algorithm>

#include "common/app_version.h"
#include "platform/core/units.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/desktop_services.h"

namespace morvane::kit {

QString VersionText(const core::VersionRecord& record) {
  return QLatin1Char(' ') + QString::fromStdString(common::GetAppVersion(false, record));
}

QString VersionText() { return VersionText(core::ThisVersionRecord()); }

QString PlainVersionText(const core::VersionRecord& record) {
  return QString::fromStdString(common::GetAppVersion(false, record));
}

QString PlainVersionText() { return PlainVersionText(core::ThisVersionRecord()); }

void ShowAboutBox(QWidget* owner) {
  const core::VersionRecord& record = core::ThisVersionRecord();
  // The version text's leading blank separates it from "Version".
  const QString text =
      QString::fromStdString(record.title) + QStringLiteral("\r\n\r\nVersion") + VersionText(record);
  widgets::MessageBoxes().Show(owner, text, core::kMbIconInformation, QStringLiteral("About..."));
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
  return core::RoundToInt32(widest * core::kTwipsPerPixel);
}

std::int32_t TextHeightTwips(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  const auto lines = text.count(QLatin1Char('\n')) + 1;
  return core::RoundToInt32(static_cast<double>(lines) * metrics.height() * core::kTwipsPerPixel);
}

bool ValidMousePointer(int pointer) { return (pointer >= 0 && pointer <= 15) || pointer == 99; }

void ApplyMousePointer(QWidget& widget, int pointer, const QImage& icon) {
  if (!ValidMousePointer(pointer)) return;
  QCursor cursor;
  if (automation::CursorOfPointer(static_cast<std::int16_t>(pointer), icon, &cursor)) {
    widget.setCursor(cursor);
  } else {
    widget.unsetCursor();
  }
}

void PointerSetting::LetPointer(QWidget& widget, std::int16_t pointer) {
  if (!ValidMousePointer(pointer))
    throw automation::AutomationError(automation::kErrInvalidPropertyValue);
  pointer_ = pointer;
  ApplyMousePointer(widget, pointer_, icon_);
  announce_("MousePointer");
}

void PointerSetting::SetIcon(QWidget& widget, const QImage& icon) {
  icon_ = icon;
  ApplyMousePointer(widget, pointer_, icon_);
  announce_("MouseIcon");
}

}  // namespace morvane::kit
