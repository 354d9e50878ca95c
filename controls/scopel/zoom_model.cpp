#include "controls/scopel/zoom_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace morvane::scopel {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int64_t B(bool condition) { return condition ? 1 : 0; }

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), kInt32Max));
}

// Integer quotient truncated toward zero; a divisor of 0 gives 0.
std::int64_t Div(std::int64_t a, std::int64_t b) { return b == 0 ? 0 : a / b; }

}  // namespace

std::int64_t RoundHalfEven(double v) {
  if (!std::isfinite(v)) return 0;
  const double r = core::RoundHalfEven(v);
  if (r >= static_cast<double>(kRoundLimit)) return kRoundLimit;
  if (r <= -static_cast<double>(kRoundLimit)) return -kRoundLimit;
  return static_cast<std::int64_t>(r);
}

ZoomModel::ZoomModel(Hooks hooks) : hooks_(std::move(hooks)) {}

void ZoomModel::SetInnerSize(std::int64_t width, std::int64_t height) {
  innerWidth_ = std::max<std::int64_t>(0, width);
  innerHeight_ = std::max<std::int64_t>(0, height);
}

void ZoomModel::SetStripSizes(std::int64_t stripYWidth, std::int64_t stripXHeight) {
  stripYWidth_ = stripYWidth;
  stripXHeight_ = stripXHeight;
}

void ZoomModel::ScrollHome() {
  SetScroll(Axis::X, 0);
  SetScroll(Axis::Y, 0);
}

void ZoomModel::PictureChanged(bool hasPicture, std::int64_t imageWidth, std::int64_t imageHeight) {
  hasPicture_ = hasPicture;
  imageWidth_ = hasPicture ? imageWidth : 0;
  imageHeight_ = hasPicture ? imageHeight : 0;
  // A new picture starts at its top left, whatever the bars did on the way.
  offsetX_ = offsetY_ = 0;
  scrollX_ = scrollY_ = 0;
  if (!hasPicture) {
    viewHasPicture_ = false;
    ResetZoomView();
  }
  // Without a picture the layout hides the strips: no scroll bars beside an empty view.
  Resize();
}

bool ZoomModel::SetZooming(int zoom) {
  if (zoom == zooming_) return false;
  // Keep the image columns at the left and top edges where they are.
  const std::int64_t oldCell = Cell();
  const std::int64_t columnX = Div(-offsetX_, oldCell);
  const std::int64_t columnY = Div(-offsetY_, oldCell);
  zooming_ = std::max(zoom, 1);
  offsetX_ = -columnX * Cell();
  offsetY_ = -columnY * Cell();
  Resize();
  return true;
}

std::int32_t ZoomModel::Scroll(Axis axis) const {
  const std::int64_t tpp = axis == Axis::X ? kTwipsPerPixelX : kTwipsPerPixelY;
  return Clamp32(
      RoundHalfEven(static_cast<double>(tpp) * scrollValue(axis) / static_cast<double>(Zoom())));
}

void ZoomModel::SetScroll(Axis axis, std::int32_t twips) {
  const BarModel& b = bar(axis);
  const std::int64_t size = zoomSize(axis);
  if (stripVisible(axis) && size > 0) {
    const double q =
        static_cast<double>(b.max) * static_cast<double>(Zoom()) * twips / static_cast<double>(size);
    const std::int64_t v =
        std::min<std::int64_t>(std::max<std::int64_t>(RoundHalfEven(q), b.min), b.max);
    SetBarValue(axis, static_cast<std::int32_t>(v));
  } else {
    SetBarValue(axis, b.min);
  }
}

bool ZoomModel::EnsureVisible(double x, double y) {
  const double z = static_cast<double>(Zoom());
  const std::int64_t oldX = offsetX_, oldY = offsetY_;
  const double cellW = z * kTwipsPerPixelX;
  const double viewW = static_cast<double>(innerWidth_ - B(stripYVisible_) * stripYWidth_);
  if (cellW - z * x > static_cast<double>(offsetX_)) {
    offsetX_ = RoundHalfEven(cellW - z * x);
  } else if (viewW - z * x - cellW < static_cast<double>(offsetX_)) {
    offsetX_ = RoundHalfEven(viewW - z * x - cellW);
  }
  const double cellH = z * kTwipsPerPixelY;
  const double viewH = static_cast<double>(innerHeight_ - B(stripXVisible_) * stripXHeight_);
  if (cellH - z * y > static_cast<double>(offsetY_)) {
    offsetY_ = RoundHalfEven(cellH - z * y);
  } else if (viewH - z * y - cellH < static_cast<double>(offsetY_)) {
    offsetY_ = RoundHalfEven(viewH - z * y - cellH);
  }
  if (offsetX_ == oldX && offsetY_ == oldY) return false;
  offsetX_ =
      RoundHalfEven(static_cast<double>(RoundHalfEven(static_cast<double>(offsetX_) / cellW)) * cellW);
  offsetY_ =
      RoundHalfEven(static_cast<double>(RoundHalfEven(static_cast<double>(offsetY_) / cellH)) * cellH);
  // A point in the first column or row would ask for a margin left of the image; the
  // view never shows more than the image, so the offsets stay at 0 or below.
  offsetX_ = std::min<std::int64_t>(offsetX_, 0);
  offsetY_ = std::min<std::int64_t>(offsetY_, 0);
  if (offsetX_ == oldX && offsetY_ == oldY) return false;
  RedrawZoomView();
  return true;
}

ZoomModel::PixelPoint ZoomModel::LocateCursor(double x, double y) {
  EnsureVisible(x, y);
  const std::int64_t z = Zoom();
  const double half = z <= 1 ? 0.0 : static_cast<double>(RoundHalfEven(static_cast<double>(z) / 2.0));
  const double px =
      (static_cast<double>(z) * x + static_cast<double>(offsetX_)) / kTwipsPerPixelX + half;
  const double py =
      (static_cast<double>(z) * y + static_cast<double>(offsetY_)) / kTwipsPerPixelY + half;
  return {RoundHalfEven(std::max(0.0, px)), RoundHalfEven(std::max(0.0, py))};
}

ZoomModel::PixelPoint ZoomModel::ViewToImage(double viewX, double viewY) const {
  const std::int64_t z = Zoom();
  const std::int64_t dx = RoundHalfEven(viewX - static_cast<double>(offsetX_));
  const std::int64_t dy = RoundHalfEven(viewY - static_cast<double>(offsetY_));
  return {dx / z, dy / z};
}

ZoomModel::PixelRect ZoomModel::SetPointCell(double x, double y) const {
  const std::int64_t z = Zoom();
  const std::int64_t m = std::max<std::int64_t>(z - 2, 0);
  // Viewport twips to pixels the way the surface maps image twips: whole pixels down.
  const auto left = static_cast<std::int64_t>(
      std::floor((static_cast<double>(z) * x + static_cast<double>(offsetX_)) / kTwipsPerPixelX));
  const auto top = static_cast<std::int64_t>(
      std::floor((static_cast<double>(z) * y + static_cast<double>(offsetY_)) / kTwipsPerPixelY));
  return {left, top, m + 1, m + 1};
}

void ZoomModel::RunRedrawGuarded() {
  if (inResize_ == 0) {
    ++inResize_;
    RedrawZoomView();
    --inResize_;
  }
}

void ZoomModel::FitAxis(Axis axis) {
  // The whole magnified length fits: the view starts at the image's edge.
  if (axis == Axis::X) {
    offsetX_ = 0;
    scrollX_ = barX_.min;
  } else {
    offsetY_ = 0;
    scrollY_ = barY_.min;
  }
  SetBarValue(axis, bar(axis).min);
}

void ZoomModel::Resize() {
  const std::int64_t p = B(hasPicture_);
  zoomWidth_ = Zoom() * imageWidth_ * p;
  zoomHeight_ = Zoom() * imageHeight_ * p;
  stripXVisible_ = innerWidth_ < zoomWidth_;
  if (innerWidth_ >= zoomWidth_ && hasPicture_) FitAxis(Axis::X);
  stripYVisible_ = innerHeight_ < zoomHeight_;
  if (innerHeight_ >= zoomHeight_ && hasPicture_) FitAxis(Axis::Y);
  // The strips moved or changed size.
  StripResize(Axis::X);
  StripResize(Axis::Y);
  if (!propertiesRead_) return;

  const std::int64_t cell = Cell();
  // The bars' positions below are shares of their ranges: take the ranges of this
  // magnified size, not those the last redraw left (a new zoom changes them).
  if (hasPicture_) UpdateBarRanges();
  PositionZoomView();
  const std::int64_t maxX =
      std::max<std::int64_t>(0, B(stripYVisible_) * stripYWidth_ + zoomWidth_ - innerWidth_);
  if (maxX < std::llabs(offsetX_)) {
    offsetX_ = -RoundHalfEven(static_cast<double>(maxX) / static_cast<double>(cell) + 0.5) * cell;
  }
  if (maxX != 0) {
    scrollX_ = Clamp32(std::min<std::int64_t>(
        std::llabs(RoundHalfEven(static_cast<double>(barX_.max) * static_cast<double>(offsetX_) /
                                 static_cast<double>(maxX))),
        barX_.max));
  }
  SetBarValue(Axis::X, scrollX_);

  const std::int64_t maxY =
      std::max<std::int64_t>(0, stripXHeight_ * B(stripXVisible_) + zoomHeight_ - innerHeight_);
  if (maxY < std::llabs(offsetY_)) {
    offsetY_ = -RoundHalfEven(static_cast<double>(maxY) / static_cast<double>(cell) + 0.5) * cell;
  }
  if (maxY != 0) {
    scrollY_ = Clamp32(std::min<std::int64_t>(
        std::llabs(RoundHalfEven(static_cast<double>(barY_.max) * static_cast<double>(offsetY_) /
                                 static_cast<double>(maxY))),
        barY_.max));
  }
  SetBarValue(Axis::Y, scrollY_);
  RunRedrawGuarded();
}

void ZoomModel::PositionZoomView() {
  const std::int64_t z = Zoom();
  const std::int64_t cell = z * kTwipsPerPixelX;  // the horizontal factor serves both directions
  // The vertical strip is taken off only while the horizontal bar stands at its end;
  // elsewhere the viewport runs on under the strip.
  const std::int64_t freeW = innerWidth_ - B(stripYVisible_ && barX_.value == barX_.max) * stripYWidth_;
  viewportWidth_ = std::max<std::int64_t>(0, cell * Div(std::min(freeW, z * imageWidth_), cell));
  const std::int64_t freeH =
      innerHeight_ - B(stripXVisible_ && barY_.value == barY_.max) * stripXHeight_;
  viewportHeight_ = std::max<std::int64_t>(0, cell * Div(std::min(freeH, z * imageHeight_), cell));
}

void ZoomModel::ResetZoomView() {
  viewportWidth_ = viewportHeight_ = 0;
  offsetX_ = offsetY_ = 0;
  zoomWidth_ = zoomHeight_ = 0;
}

void ZoomModel::RedrawZoomView() {
  if (!hasPicture_) return;
  if (hooks_.paint) hooks_.paint();
  viewHasPicture_ = true;
  zoomWidth_ = Zoom() * imageWidth_;
  zoomHeight_ = Zoom() * imageHeight_;
  UpdateBarRanges();
  for (Axis axis : {Axis::X, Axis::Y}) {
    if (bar(axis).value > bar(axis).max) SetBarValue(axis, bar(axis).max);
  }
  barY_.largeChange = std::min(barY_.largeChange, barY_.max);
  barX_.largeChange = std::min(barX_.largeChange, barX_.max);
  const std::int64_t paintedW = viewportWidth_, paintedH = viewportHeight_;
  const std::int64_t paintedX = offsetX_, paintedY = offsetY_;
  if (inResize_ == 0) {
    ++inResize_;
    Resize();
    --inResize_;
  }
  StripResize(Axis::X);
  StripResize(Axis::Y);
  // The layout may have changed the viewport after it was painted: paint it again so
  // the view never shows a stale or stretched picture.
  if ((paintedW != viewportWidth_ || paintedH != viewportHeight_ || paintedX != offsetX_ ||
       paintedY != offsetY_) &&
      hooks_.paint) {
    hooks_.paint();
  }
}

void ZoomModel::UpdateBarRanges() {
  // The magnified size in screen pixels.
  barX_.max = Clamp32(RoundHalfEven(static_cast<double>(zoomWidth_) / kTwipsPerPixelX));
  barY_.max = Clamp32(RoundHalfEven(static_cast<double>(zoomHeight_) / kTwipsPerPixelY));
}

void ZoomModel::StripResize(Axis axis) {
  BarModel& b = barOf(axis);
  const std::int64_t visible = axis == Axis::X ? innerWidth_ - B(stripYVisible_) * stripYWidth_
                                               : innerHeight_ - B(stripXVisible_) * stripXHeight_;
  const std::int64_t tpp = axis == Axis::X ? kTwipsPerPixelX : kTwipsPerPixelY;
  const std::int64_t page =
      std::max<std::int64_t>(1, RoundHalfEven(static_cast<double>(visible) / static_cast<double>(tpp)));
  b.largeChange = Clamp32(std::min<std::int64_t>(b.max, page));
}

void ZoomModel::SetBarValue(Axis axis, std::int32_t value) {
  BarModel& b = barOf(axis);
  const std::int32_t v = std::clamp(value, b.min, std::max(b.min, b.max));
  if (v == b.value) return;
  b.value = v;
  BarChanged(axis);
}

void ZoomModel::BarChanged(Axis axis) {
  if (inResize_ < 1) BarScrolled(axis);
}

void ZoomModel::BarScrolled(Axis axis) {
  if (!viewHasPicture_) return;
  BarModel& b = barOf(axis);
  std::int32_t& scroll = axis == Axis::X ? scrollX_ : scrollY_;
  std::int64_t& offset = axis == Axis::X ? offsetX_ : offsetY_;
  if (b.value == scroll) return;
  if (hooks_.scrollTimer) hooks_.scrollTimer();
  const std::int64_t cell = Zoom() * (axis == Axis::X ? kTwipsPerPixelX : kTwipsPerPixelY);
  const std::int64_t d = axis == Axis::X
                             ? innerWidth_ - B(stripYVisible_) * stripYWidth_ - zoomWidth_
                             : innerHeight_ - B(stripXVisible_) * stripXHeight_ - zoomHeight_;
  if (d != 0) {
    const std::int64_t step = static_cast<std::int64_t>(b.value) - scroll;
    if (std::llabs(step) == 1) {
      // An arrow: exactly one cell, then the bar follows the offset proportionally.
      offset = offset - cell * step;
      ++inResize_;
      const std::int64_t v = std::min<std::int64_t>(
          std::llabs(RoundHalfEven(static_cast<double>(b.max) * static_cast<double>(offset) /
                                   static_cast<double>(d))),
          b.max);
      SetBarValue(axis, Clamp32(v));
      --inResize_;
    } else if (b.max != 0) {
      offset = RoundHalfEven(static_cast<double>(b.value) * static_cast<double>(d) /
                                 (static_cast<double>(b.max) * static_cast<double>(cell)) -
                             0.5) *
               cell;
    }
  }
  scroll = b.value;
  b.arrows = b.value == b.min ? 2 : (b.value == b.max ? 1 : 0);
  PositionZoomView();
  RunRedrawGuarded();
}

std::int64_t ZoomModel::SourceLeftPixel() const {
  return Div(std::llabs(offsetX_), Zoom()) / kTwipsPerPixelX;
}

std::int64_t ZoomModel::SourceTopPixel() const {
  return Div(std::llabs(offsetY_), Zoom()) / kTwipsPerPixelY;
}

}  // namespace morvane::scopel
