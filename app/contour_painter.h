#pragma once

// Drawing the document's contours and vertex marks, and a deferred call, so that the
// many notices of one command give one redraw.
//
// The contours are drawn into a picture with the zoom view's own pixel paths, and the
// view is given that picture once: one repaint per pass, and no call into the view per
// segment or per vertex, which hundreds of thousands of points would make slow. The
// picture is the work picture itself, with a record of what lay under the lines, or,
// where that record would take more memory than the picture, a copy of it.

#include <QImage>
#include <QObject>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

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

// What drawing changed on a picture: each changed pixel's place and its colour before,
// in the order drawn, so that undone last to first they give the picture back as it
// was.
class DrawnOver {
 public:
  bool Empty() const { return pixels_.empty(); }
  std::size_t Size() const { return pixels_.size(); }
  // Room for this many pixels at once, where the record would otherwise be copied as it
  // grows; room not written to costs no memory.
  void Reserve(std::int64_t pixels);
  // Gives the picture drawn on back as it was and empties the record; the room stays
  // for the next drawing, whose first writes then cost no fresh memory.
  void Undo(core::RgbImage& picture);
  // The picture drawn on is gone: nothing to give back, and no room kept.
  void Forget();

 private:
  friend void DrawContours(core::RgbImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                           std::optional<std::uint32_t> marks, DrawnOver& under);
  struct Pixel {
    std::uint32_t at;  // y * width + x
    std::uint32_t was;
  };
  std::vector<Pixel> pixels_;
};

// The most pixels DrawContours sets for these points: one per step of each segment,
// and one per vertex with marks.
std::int64_t CountContourPixels(const engine::ContourPoints& points, bool marks);

// DrawContours on the picture itself, each pixel it changes kept in under. under must
// be empty, or hold what was drawn over this picture before: it is added to. Nothing
// is drawn on a picture of more than 2^32 pixels.
void DrawContours(core::RgbImage& picture, const engine::ContourPoints& points, std::uint32_t line,
                  std::optional<std::uint32_t> marks, DrawnOver& under);

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
