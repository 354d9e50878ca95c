#include "app/contour_painter.h"

#include <QTimer>

#include <algorithm>
#include <cstdlib>

#include "platform/core/large_pages.h"
#include "platform/raster/raster.h"

namespace morvane::app {

namespace {

// segment(a, b) for each segment of each contour of two points or more, the closing
// one last; a contour of one point has none.
template <typename Segment>
void ForEachSegment(const engine::ContourPoints& points, Segment segment) {
  const std::int32_t upper = engine::UpperBound(points);
  const auto px = [&points](std::int32_t k) {
    const engine::ContourPoint& p = points[static_cast<std::size_t>(k)];
    return raster::Px{p.x, p.y};
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
}

// plot(x, y, colour) sets one pixel inside width x height.
template <typename Plot>
void DrawContoursWith(std::int32_t width, std::int32_t height, const engine::ContourPoints& points,
                      std::uint32_t line, std::optional<std::uint32_t> marks, Plot plot) {
  if (engine::UpperBound(points) < 3 || width <= 0 || height <= 0) return;
  const raster::Clip clip{0, 0, width - 1, height - 1};
  // Each segment leaves out its end pixel, which the next one starts with.
  ForEachSegment(points, [&](raster::Px a, raster::Px b) {
    raster::WalkLinePath(a, b, false, clip, [&](const raster::PathPixel& p) { plot(p.p.x, p.p.y, line); });
  });
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

void DrawnOver::Undo(core::RgbImage& picture) {
  std::uint32_t* const pixels = picture.pixels.data();
  for (auto k = pixels_.rbegin(); k != pixels_.rend(); ++k) pixels[k->at] = k->was;
  pixels_.clear();
}

void DrawnOver::Reserve(std::int64_t pixels) {
  if (pixels <= 0 || pixels_.capacity() - pixels_.size() >= static_cast<std::size_t>(pixels)) return;
  pixels_.reserve(pixels_.size() + static_cast<std::size_t>(pixels));
  core::AskForLargePages(pixels_);
}

void DrawnOver::Forget() { std::vector<Pixel>().swap(pixels_); }

std::int64_t CountContourPixels(const engine::ContourPoints& points, bool marks) {
  if (engine::UpperBound(points) < 3) return 0;
  // A segment takes a pixel per step along its longer axis; held to the picture's
  // range it takes no more.
  std::int64_t pixels = 0;
  ForEachSegment(points, [&pixels](raster::Px a, raster::Px b) {
    pixels += std::max(std::llabs(std::int64_t{b.x} - a.x), std::llabs(std::int64_t{b.y} - a.y));
  });
  if (marks) {
    for (std::size_t k = 1; k < points.size(); ++k) pixels += engine::IsSeparator(points[k]) ? 0 : 1;
  }
  return pixels;
}

void DrawContours(core::RgbImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks, DrawnOver& under) {
  if (core::RgbImage::Area(picture.width, picture.height) > UINT32_MAX) return;
  std::uint32_t* const pixels = picture.pixels.data();
  const auto width = static_cast<std::uint32_t>(picture.width);
  // Only a change is kept: a pixel set to the colour it has needs nothing given back.
  DrawContoursWith(picture.width, picture.height, points, line, marks,
                   [&](std::int32_t x, std::int32_t y, std::uint32_t c) {
                     const std::uint32_t at = static_cast<std::uint32_t>(y) * width + static_cast<std::uint32_t>(x);
                     if (pixels[at] == c) return;
                     under.pixels_.push_back({at, pixels[at]});
                     pixels[at] = c;
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
