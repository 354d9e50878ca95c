#include "controls/vitrane/vitrane_helpers.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <cmath>

#include "controls/kit/control_kit.h"
#include "controls/kit/library_about.h"
#include "platform/widgets/app_message_box.h"

namespace morvane::vitrane {

namespace {

// The library's icon 1: a pane with a curved cut.
QIcon LibraryIcon(std::int32_t id) {
  if (id != 1) return {};
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1e, 0x6e, 0xc8));
  p.drawEllipse(2, 2, 28, 28);
  p.setBrush(QColor(0xff, 0xd2, 0x3c));
  p.drawEllipse(10, 10, 12, 12);
  return QIcon(pixmap);
}

QFont SystemFontOf(std::int16_t kind) {
  switch (kind) {
    case 1: return QFontDatabase::systemFont(QFontDatabase::TitleFont);
    case 2: {
      // No separate small caption font on the desktop: the caption font at the
      // smallest readable size.
      QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
      const QFont small = QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont);
      if (small.pointSizeF() > 0 && small.pointSizeF() < font.pointSizeF())
        font.setPointSizeF(small.pointSizeF());
      return font;
    }
    case 3: return QApplication::font("QMenu");
    case 4: return QApplication::font("QStatusBar");
    default: return QApplication::font("QMessageBox");
  }
}

core::ModuleMessageBox* gMessageBoxes = nullptr;

}  // namespace

core::ModuleMessageBox& MessageBoxes() {
  static widgets::AppMessageBox library([](std::int32_t id) { return LibraryIcon(id); });
  return gMessageBoxes != nullptr ? *gMessageBoxes : library;
}

void SetMessageBoxService(core::ModuleMessageBox* service) { gMessageBoxes = service; }

automation::FontRef GetSystemFont(std::int16_t kind) {
  if (kind < 1 || kind > 5) return nullptr;
  const QFont font = SystemFontOf(kind);
  auto object = std::make_shared<automation::FontObject>(automation::FontObject::FromQFont(font));
  if (font.pointSizeF() > 0) object->size = std::nearbyint(font.pointSizeF());
  object->bold = object->weight > 550;
  return object;
}

std::optional<QRegion> CutWindowRegion(QWidget* window, const QImage& picture,
                                       std::optional<std::int64_t> maskColor, bool dontApply) {
  if (picture.isNull()) return std::nullopt;
  const std::uint32_t key = maskColor && *maskColor >= 0 && *maskColor <= 0xffffff
                                ? static_cast<std::uint32_t>(*maskColor)
                                : CornerColor(picture);
  // Colour values keep red in the low byte; pixels keep it in the third.
  const QRgb rgb = qRgb(static_cast<int>(key & 0xffu), static_cast<int>((key >> 8) & 0xffu),
                        static_cast<int>((key >> 16) & 0xffu));
  std::optional<QRegion> region = RegionOfPicture(picture, rgb);
  if (!dontApply && window != nullptr && region) SetWindowRegion(window, *region);
  return region;
}

void SetWindowRegion(QWidget* window, const QRegion& region) {
  // Without a compositor's help a Wayland window would only lose its input there.
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    window->setAttribute(Qt::WA_TranslucentBackground, true);
  }
  if (region.isEmpty()) {
    // An empty mask means "no mask" to Qt; a fully masked picture leaves nothing.
    window->setMask(QRegion(-1, -1, 1, 1));
  } else {
    window->setMask(region);
  }
}

QString LibraryVersion() { return kit::PlainVersionText(); }

void ShowAboutBox() { kit::ShowLibraryAbout(&LibraryIcon); }

}  // namespace morvane::vitrane
