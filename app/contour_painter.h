#pragma once

// Drawing the document's contours and vertex marks, and a deferred call, so that the
// many notices of one command give one redraw.
//
// The contours are drawn into a copy of the work picture, with the zoom view's own
// pixel paths, and the view is given that picture once: one repaint per pass, and no
// call into the view per segment or per vertex, which hundreds of thousands of points
// would make slow.

#include <QImage>
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

#include "engine/contour_points.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::app {

// Every contour as a closed one-pixel polyline in line (0xAARRGGBB); nothing for an
// upper bound below 3. With marks, every vertex (separators are none) then in that
// colour. Pixels outside the picture are left out.
void DrawContours(core::RgbImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks);
// The same on a Format_RGB32 picture (nothing on any other).
void DrawContours(QImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks);

// Runs its action once after the current event, however often it was asked for in
// between.
class DeferredCall : public QObject {
  Q_OBJECT

 public:
  explicit DeferredCall(std::function<void()> action, QObject* parent = nullptr)
      : QObject(parent), action_(std::move(action)) {}

  void Request();
  // Runs a pending action now.
  void Flush();
  bool Pending() const { return pending_; }

 private:
  std::function<void()> action_;
  bool pending_ = false;
};

}  // namespace morvane::app
