#include "app/contour_painter.h"

#include <QTimer>

#include <vector>

#include "platform/raster/raster.h"

namespace morvane::app {

void DrawContours(core::RgbImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks) {
  const std::int32_t upper = engine::UpperBound(points);
  if (upper < 3 || picture.empty()) return;
  const raster::Clip clip{0, 0, picture.width - 1, picture.height - 1};
  std::vector<raster::PathPixel> path;
  const auto px = [&points](std::int32_t k) {
    const engine::ContourPoint& p = points[static_cast<std::size_t>(k)];
    return raster::Px{p.x, p.y};
  };
  // Each segment leaves out its end pixel, which the next one starts with.
  const auto segment = [&](raster::Px a, raster::Px b) {
    path.clear();
    raster::LinePath(a, b, false, clip, path);
    for (const raster::PathPixel& p : path) picture.at(p.p.x, p.p.y) = line;
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
    if (!engine::IsSeparator(points[k]) && clip.Contains(p)) picture.at(p.x, p.y) = *marks;
  }
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
