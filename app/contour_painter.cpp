#include "app/contour_painter.h"

#include <QTimer>

#include "app/scopel_view.h"
#include "platform/core/units.h"

namespace morvane::app {

namespace {
constexpr double kTpp = core::kTwipsPerPixel;
}

void DrawContours(ScopelView& view, const engine::ContourPoints& points) {
  const std::int32_t upper = engine::UpperBound(points);
  if (upper < 3) return;
  const auto at = [&points](std::int32_t k) { return points[static_cast<std::size_t>(k)]; };
  view.SetDrawImmediately(false);
  std::int32_t a = 1;
  while (a <= upper) {
    if (engine::IsSeparator(at(a))) {
      ++a;
      continue;
    }
    std::int32_t k = a + 1;
    if (k <= upper && !engine::IsSeparator(at(k))) {
      view.DrawLine(at(a).x * kTpp, at(a).y * kTpp, at(k).x * kTpp, at(k).y * kTpp);
      for (++k; k <= upper && !engine::IsSeparator(at(k)); ++k) view.DrawLineTo(at(k).x * kTpp, at(k).y * kTpp);
      view.DrawLineTo(at(a).x * kTpp, at(a).y * kTpp);
    }
    a = k + 1;
  }
  view.Refresh();
  view.SetDrawImmediately(true);
}

void DrawPointMarks(ScopelView& view, const engine::ContourPoints& points, bool marks) {
  const std::int32_t color = marks ? view.FillColor() : view.ForeColor();
  view.SetDrawImmediately(false);
  for (std::size_t k = 1; k < points.size(); ++k) {
    const engine::ContourPoint& p = points[k];
    if (engine::IsSeparator(p)) continue;
    if (!view.SetPoint(p.x * kTpp, p.y * kTpp, color)) break;
  }
  view.Refresh();
  view.SetDrawImmediately(true);
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
