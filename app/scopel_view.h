#pragma once

// The hosted zoom view, typed: the one place in the program that speaks its dispatch
// ids. Colours are OLE colours.

#include <QImage>

#include <cstdint>

#include "platform/core/pointer_shape.h"

namespace morvane::automation {
class Control;
}

namespace morvane::app {

class ScopelView {
 public:
  explicit ScopelView(automation::Control* control = nullptr) : control_(control) {}
  automation::Control* control() const { return control_; }

  void SetPicture(const QImage& picture);
  bool HasPicture();
  std::int32_t BackColor();
  void SetBackColor(std::int32_t color);
  std::int32_t GridColor();
  void SetGridColor(std::int32_t color);
  std::int32_t ForeColor();
  void SetForeColor(std::int32_t color);
  std::int32_t FillColor();
  void SetFillColor(std::int32_t color);
  void SetGridLines(bool on);
  void SetZooming(int factor);
  std::int32_t ScrollX();
  std::int32_t ScrollY();
  void SetScroll(std::int32_t x, std::int32_t y);
  void SetMousePointer(core::PointerShape pointer);
  // The picture of the custom pointer (99).
  void SetMouseIcon(const QImage& icon);
  // The image's size in twips, 0 without a picture.
  std::int32_t ImageWidth();
  std::int32_t ImageHeight();
  // The colour of the image pixel under a point in twips.
  std::int32_t GetPoint(double x, double y);
  void SetEnabled(bool on);
  void LocateCursor(double x, double y);
  // Scrolls as little as needed to show the point in twips, one cell from the left and
  // top edges at least.
  void EnsureVisible(double x, double y);

 private:
  automation::Control* control_;
};

}  // namespace morvane::app
