#pragma once

#include "platform/gui/surface.h"

#include <cmath>

namespace morvane::widgets {

// Form lengths are twips; Qt lays out whole pixels. Rounded half to even.
inline int PixelsFromTwips(double twips) {
  return static_cast<int>(std::nearbyint(twips / gui::kTwipsPerPixel));
}
inline double TwipsFromPixels(double pixels) { return pixels * gui::kTwipsPerPixel; }

}  // namespace morvane::widgets
