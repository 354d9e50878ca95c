#include "controls/vitrane/vitrane_model.h"

#include <QRect>

#include <vector>

#include "controls/vitrane/vitrane_typelib.h"

namespace morvane::vitrane {

namespace {

// One run of visible pixels in a row: [left, right).
struct Run {
  std::int32_t left;
  std::int32_t right;
  bool operator==(const Run&) const = default;
};

// The picture in a format whose pixels can be compared as plain, unpremultiplied RGB.
QImage Comparable(const QImage& picture) {
  if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32)
    return picture;
  return picture.convertToFormat(QImage::Format_ARGB32);
}

int Grey(QRgb pixel) { return qGray(pixel); }

}  // namespace

bool IsIcon(const QImage& picture) {
  return !picture.isNull() &&
         picture.text(QString::fromLatin1(kPictureTypeKey)) == QLatin1String(kIconType);
}

QImage MarkedAsIcon(QImage picture) {
  picture.setText(QString::fromLatin1(kPictureTypeKey), QString::fromLatin1(kIconType));
  return picture;
}

std::optional<QRegion> RegionOfPicture(const QImage& picture, QRgb maskRgb) {
  if (picture.isNull()) return std::nullopt;
  const QImage image = Comparable(picture);
  const bool byAlpha = IsIcon(picture);
  const QRgb key = maskRgb & 0xffffffu;
  const std::int32_t width = image.width();
  const std::int32_t height = image.height();

  // Rows with the same runs as the row above widen that band instead of adding
  // rectangles: the result is the region's canonical banded form, built in one pass.
  std::vector<QRect> rects;
  std::vector<Run> band;
  std::vector<Run> row;
  std::int32_t bandTop = 0;
  auto flush = [&](std::int32_t bottom) {
    for (const Run& run : band)
      rects.emplace_back(run.left, bandTop, run.right - run.left, bottom - bandTop);
  };
  for (std::int32_t y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    row.clear();
    std::int32_t x = 0;
    while (x < width) {
      while (x < width && (byAlpha ? qAlpha(line[x]) == 0 : (line[x] & 0xffffffu) == key)) ++x;
      if (x == width) break;
      const std::int32_t left = x;
      while (x < width && !(byAlpha ? qAlpha(line[x]) == 0 : (line[x] & 0xffffffu) == key)) ++x;
      row.push_back({left, x});
    }
    if (row != band) {
      flush(y);
      band.swap(row);
      bandTop = y;
    }
  }
  flush(height);

  QRegion region;
  if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
  return region;
}

std::uint32_t CornerColor(const QImage& picture) {
  if (picture.isNull()) return 0;
  const QRgb pixel = Comparable(picture).pixel(0, 0);
  return static_cast<std::uint32_t>(qRed(pixel)) | (static_cast<std::uint32_t>(qGreen(pixel)) << 8) |
         (static_cast<std::uint32_t>(qBlue(pixel)) << 16);
}

std::uint32_t ContrastColor(std::int64_t color) {
  if (color < -16777215 || color > 16777215) return 0;
  const auto bits = static_cast<std::uint32_t>(color);
  const std::uint32_t red = bits & 0xffu;
  const std::uint32_t green = (bits >> 8) & 0xffu;
  const std::uint32_t blue = (bits >> 16) & 0xffu;
  return red <= 128 && green <= 128 && blue <= 128 ? 0xffffffu : 0u;
}

QString StyleName(std::int32_t style) {
  switch (style) {
    case Normal: return QStringLiteral("Normal");
    case ParentCustomTitled: return QStringLiteral("ParentCustomTitled");
    case VitraneParentTitled: return QStringLiteral("VitraneParentTitled");
    case VitraneParentUntitled: return QStringLiteral("VitraneParentUntitled");
    case ParentClingingArea: return QStringLiteral("ParentClingingArea");
    default: return QString::number(style);
  }
}

QString ErrorSource() {
  return QStringLiteral("%1.%2").arg(QLatin1String(kLibraryName), QLatin1String(kClassName));
}

QString MenuConflictText() {
  return QStringLiteral(
             "When Form has a Menu, set the %1's Style property\r\n"
             "to VitraneParentTitled value not at design time, but at run time\r\n"
             "(f.e., in Form_Load section).")
      .arg(QLatin1String(kClassName));
}

StyleDecision DecideStyle(const StyleFacts& facts, std::int32_t value) {
  if (!facts.hasExtender || facts.aligned) return {StyleOutcome::StoreNormal, {}};
  if (!facts.parentHasControls || value == facts.current) return {StyleOutcome::Ignore, {}};
  if (!facts.parentIsForm) return {StyleOutcome::StoreNormal, {}};
  if (value == ParentCustomTitled)
    return {facts.userMode ? StyleOutcome::Apply : StyleOutcome::Store, {}};
  if (value != VitraneParentTitled && value != VitraneParentUntitled) return {StyleOutcome::Store, {}};

  const QString prefix =
      QStringLiteral("Style property of '") + facts.name + QStringLiteral("' can't be set to ");
  if (facts.userMode && value == VitraneParentUntitled) {
    if (facts.parentHasBorder) {
      return {StyleOutcome::Refuse,
              prefix + QStringLiteral(
                           "VitraneParentUntitled at run time when the parent window has a border.")};
    }
    if (facts.parentHasControlBox) {
      return {StyleOutcome::Refuse,
              prefix + QStringLiteral("VitraneParentUntitled when the parent window has a ControlBox.")};
    }
  }
  if (!facts.userMode && value == VitraneParentTitled && facts.formHasMenu)
    return {StyleOutcome::MenuConflict, {}};
  if (!facts.otherShaped.isEmpty()) {
    return {StyleOutcome::Refuse, prefix + StyleName(value) + QStringLiteral(" because of '") +
                                      facts.otherShaped +
                                      QStringLiteral("' already has Style set to VitraneParent.")};
  }
  return {StyleOutcome::Apply, {}};
}

bool StartsTitleDrag(const TitleRect& area, std::int64_t x, std::int64_t y) {
  const std::int64_t left = area.left;
  const std::int64_t top = area.top;
  const bool inside = left <= x && x <= left + area.width && top <= y && y <= top + area.height;
  const bool sizeless = area.width < 1 && area.height < 1;
  const bool atCorner = area.left < 1 && area.top < 1;
  const bool sized = area.width != 0 && area.height != 0;
  return (inside || sizeless) && (atCorner || sized);
}

QImage DisabledLook(const QImage& picture, QRgb back, QRgb shadow, QRgb highlight) {
  if (picture.isNull()) return {};
  const bool icon = IsIcon(picture);
  const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
  QImage out(source.size(), icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  out.fill(icon ? QColor(Qt::transparent) : QColor::fromRgb(back));
  const int width = source.width();
  const int height = source.height();
  auto ink = [&](int x, int y) {
    const QRgb p = source.pixel(x, y);
    return qAlpha(p) >= 128 && Grey(p) < 128;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (ink(x, y) && x + 1 < width && y + 1 < height)
        out.setPixel(x + 1, y + 1, highlight | 0xff000000u);
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (ink(x, y)) out.setPixel(x, y, shadow | 0xff000000u);
    }
  }
  if (icon) out = MarkedAsIcon(out);
  return out;
}

QImage UnionLook(const QImage& picture, QRgb effect) {
  if (picture.isNull()) return {};
  const bool icon = IsIcon(picture);
  QImage out = picture.convertToFormat(icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = (y & 1); x < out.width(); x += 2) {
      if (qAlpha(line[x]) != 0) line[x] = effect | 0xff000000u;
    }
  }
  if (icon) out = MarkedAsIcon(out);
  return out;
}

}  // namespace morvane::vitrane
