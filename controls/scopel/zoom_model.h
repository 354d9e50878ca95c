#pragma once

#include <cstdint>
#include <functional>

#include "platform/core/units.h"

namespace morvane::scopel {

// Screen twips per pixel, fixed on both axes.
inline constexpr std::int64_t kTwipsPerPixelX = core::kTwipsPerPixel;
inline constexpr std::int64_t kTwipsPerPixelY = core::kTwipsPerPixel;

// v rounded to the nearest whole number, halves to even, held within +-2^62: far
// enough for any image, and near enough to 0 that a rounded offset can be negated,
// doubled or moved by a cell without leaving 64 bits. Not a number gives 0.
inline constexpr std::int64_t kRoundLimit = std::int64_t{1} << 62;
std::int64_t RoundHalfEven(double v);

// A scroll bar as the layout sees it: whole values, 32-bit.
struct BarModel {
  std::int32_t min = 0;
  std::int32_t max = 32767;
  std::int32_t value = 0;
  std::int32_t largeChange = 1;
  // 0 both arrows enabled, 1 only left (up), 2 only right (down).
  int arrows = 0;
};

enum class Axis { X, Y };

// The zoom view's geometry without widgets: the viewport, the strips with their scroll
// bars, the offsets of the magnified image, the zoom, and every conversion between
// image twips, viewport twips and bar values. All lengths are twips; products of sizes,
// offsets and bar values are 64-bit.
//
// The control owns one and mirrors it onto its widgets. The model calls back for what
// needs pixels: painting the magnified view, and starting the timer that gives the
// focus back to the viewport after a scroll.
class ZoomModel {
 public:
  struct Hooks {
    std::function<void()> paint;        // paint the viewport from the current state
    std::function<void()> scrollTimer;  // a bar has moved
  };
  explicit ZoomModel(Hooks hooks = {});

  // --- inputs from the control -------------------------------------------------
  // The control's inner size (inside its border).
  void SetInnerSize(std::int64_t width, std::int64_t height);
  // Width of the vertical strip and height of the horizontal one.
  void SetStripSizes(std::int64_t stripYWidth, std::int64_t stripXHeight);
  void SetPropertiesRead(bool read) { propertiesRead_ = read; }
  bool propertiesRead() const { return propertiesRead_; }

  // --- members of the control ----------------------------------------------------
  // The picture changes: first move both bars to 0 while the old picture is shown,
  // then let the control swap the surface's picture, then PictureChanged.
  void ScrollHome();
  void PictureChanged(bool hasPicture, std::int64_t imageWidth, std::int64_t imageHeight);

  int zooming() const { return zooming_; }
  // The raw factor as restored (InitProperties, ReadProperties); no layout.
  void RestoreZooming(int zoom) { zooming_ = zoom; }
  // Zooming let: nothing when unchanged; otherwise at least 1, layout, and the left and
  // top image columns stay where they were (as far as the range allows).
  bool SetZooming(int zoom);

  // ScrollX / ScrollY get and let, in image twips. The get is the exact inverse of the
  // let for every zoom below 15, so writing back what was read keeps the view.
  std::int32_t Scroll(Axis axis) const;
  void SetScroll(Axis axis, std::int32_t twips);

  // EnsureVisible: true when the view moved (and was redrawn).
  bool EnsureVisible(double x, double y);
  // LocateCursor's target after EnsureVisible: screen pixels from the viewport's origin.
  struct PixelPoint {
    std::int64_t x;
    std::int64_t y;
  };
  PixelPoint LocateCursor(double x, double y);

  // A position in viewport twips as image twips (whole numbers, truncated toward zero).
  PixelPoint ViewToImage(double viewX, double viewY) const;
  // The cell that SetPoint paints for the image point (x, y) twips: viewport pixels.
  struct PixelRect {
    std::int64_t left, top, width, height;
  };
  PixelRect SetPointCell(double x, double y) const;

  // --- the procedures of the layout --------------------------------------------
  void Resize();
  void PositionZoomView();
  void ResetZoomView();
  void RedrawZoomView();
  void StripResize(Axis axis);
  // A bar's value changes: by the user (through the widget) or by the control. Raises
  // the bar's change notice when the value differs.
  void SetBarValue(Axis axis, std::int32_t value);
  // The bar's change notice (arrow, page, released thumb) and scroll notice (dragged
  // thumb); the change notice is ignored while the control itself moves a bar.
  void BarChanged(Axis axis);
  void BarScrolled(Axis axis);

  // --- state, for the widgets and for tests ----------------------------------------
  const BarModel& bar(Axis axis) const { return axis == Axis::X ? barX_ : barY_; }
  bool stripVisible(Axis axis) const { return axis == Axis::X ? stripXVisible_ : stripYVisible_; }
  std::int64_t offset(Axis axis) const { return axis == Axis::X ? offsetX_ : offsetY_; }
  void SetOffsets(std::int64_t x, std::int64_t y) {
    offsetX_ = x;
    offsetY_ = y;
  }
  std::int64_t zoomSize(Axis axis) const { return axis == Axis::X ? zoomWidth_ : zoomHeight_; }
  std::int32_t scrollValue(Axis axis) const { return axis == Axis::X ? scrollX_ : scrollY_; }
  std::int64_t viewportWidth() const { return viewportWidth_; }
  std::int64_t viewportHeight() const { return viewportHeight_; }
  std::int64_t innerWidth() const { return innerWidth_; }
  std::int64_t innerHeight() const { return innerHeight_; }
  std::int64_t stripYWidth() const { return stripYWidth_; }
  std::int64_t stripXHeight() const { return stripXHeight_; }
  bool hasPicture() const { return hasPicture_; }
  bool viewHasPicture() const { return viewHasPicture_; }
  std::int64_t imageWidth() const { return imageWidth_; }
  std::int64_t imageHeight() const { return imageHeight_; }
  int inResize() const { return inResize_; }

  // The redraw's source: the image pixel at the viewport's top left.
  std::int64_t SourceLeftPixel() const;
  std::int64_t SourceTopPixel() const;
  // The factor for arithmetic: never below 1.
  std::int64_t Zoom() const { return zooming_ < 1 ? 1 : zooming_; }

 private:
  BarModel& barOf(Axis axis) { return axis == Axis::X ? barX_ : barY_; }
  std::int64_t Cell() const { return Zoom() * kTwipsPerPixelX; }
  void RunRedrawGuarded();
  void UpdateBarRanges();
  void FitAxis(Axis axis);

  Hooks hooks_;
  int zooming_ = 0;
  std::int64_t innerWidth_ = 0, innerHeight_ = 0;
  std::int64_t stripYWidth_ = 0, stripXHeight_ = 0;
  bool stripXVisible_ = false, stripYVisible_ = false;
  BarModel barX_, barY_;
  std::int64_t offsetX_ = 0, offsetY_ = 0;
  std::int64_t zoomWidth_ = 0, zoomHeight_ = 0;
  std::int32_t scrollX_ = 0, scrollY_ = 0;
  std::int64_t viewportWidth_ = 0, viewportHeight_ = 0;
  std::int64_t imageWidth_ = 0, imageHeight_ = 0;
  bool hasPicture_ = false;
  bool viewHasPicture_ = false;
  bool propertiesRead_ = false;
  int inResize_ = 0;
};

}  // namespace morvane::scopel
