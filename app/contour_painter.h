#pragma once

// Drawing the document's contours and vertex marks on the zoom view's image surface,
// with one repaint per pass; and a deferred call, so that the many notices of one
// command give one redraw.

#include <QObject>

#include <functional>

#include "engine/contour_points.h"

namespace morvane::app {

class ScopelView;

// RedrawContours' drawing: every contour as a closed polyline in the view's ForeColor;
// nothing for an upper bound below 3.
void DrawContours(ScopelView& view, const engine::ContourPoints& points);
// DrawPointMarks: every vertex in the FillColor when marks are on, else in the
// ForeColor (which paints the marks over). Separators are no vertices; a pixel the view
// refuses ends the pass.
void DrawPointMarks(ScopelView& view, const engine::ContourPoints& points, bool marks);

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
