#include "app/contour_painter.h"

#include <QTimer>

#include "platform/raster/raster.h"

namespace morvane::app {

namespace {

// plot(x, y, colour) sets one pixel inside width x height.
template <typename Plot>
void DrawContoursWith(std::int32_t width, std::int32_t height, const engine::ContourPoints& points,
                      std::uint32_t line, std::optional<std::uint32_t> marks, Plot plot) {
  const std::int32_t upper = engine::UpperBound(points);
  if (upper < 3 || width <= 0 || height <= 0) return;
  const raster::Clip clip{0, 0, width - 1, height - 1};
  const auto px = [&points](std::int32_t k) {
    const engine::ContourPoint& p = points[static_cast<std::size_t>(k)];
    return raster::Px{p.x, p.y};
  };
  // Each segment leaves out its end pixel, which the next one starts with.
  const auto segment = [&](raster::Px a, raster::Px b) {
    raster::WalkLinePath(a, b, false, clip, [&](const raster::PathPixel& p) { plot(p.p.x, p.p.y, line); });
  };
  std::int32_t a = 1;
  while (a <= upper) {
    if (engine::IsSeparator(points[static_cast<std::size_t>(a)])) {
      ++a;
      continue;
    }
    std::int32_t k = a + 1;
    if (k <= upper && !engine::IsSeparator(points[static_cast<std::size_t>(k)])) {
      for (; k <= upper && !engine::IsSeparator(points[static_cast<std::size_t>(k)]); ++k)
        segment(px(k - 1), px(k));
      segment(px(k - 1), px(a));
    }
    a = k + 1;
  }
  if (!marks) return;
  for (std::size_t k = 1; k < points.size(); ++k) {
    const raster::Px p{points[k].x, points[k].y};
    if (!engine::IsSeparator(points[k]) && clip.Contains(p)) plot(p.x, p.y, *marks);
  }
}

}  // namespace

void DrawContours(core::RgbImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks) {
  DrawContoursWith(picture.width, picture.height, points, line, marks,
                   [&picture](std::int32_t x, std::int32_t y, std::uint32_t c) { picture.at(x, y) = c; });
}

void DrawContours(QImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks) {
  if (picture.format() != QImage::Format_RGB32 || engine::UpperBound(points) < 3) return;
  uchar* bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  DrawContoursWith(picture.width(), picture.height(), points, line, marks,
                   [bits, stride](std::int32_t x, std::int32_t y, std::uint32_t c) {
                     reinterpret_cast<std::uint32_t*>(bits + stride * y)[x] = c;
                   });
}

void DeferredCall::Request() {
  if (pending_) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] { Flush(); });
}

void DeferredCall::Flush() {
  if (!pending_) return;
  pending_ = false;
  action_();
}

}  // namespace morvane::app
