#pragma once

#include <cstdint>

#include "engine/contour_points.h"

namespace morvane::engine {

// The document's contours, held by the main window for as long as the program runs;
// the engine and the map files work on it.
struct ContourState {
  // All contours, element 0 unused.
  engine::ContourPoints ContourPoints = EmptyContourPoints();
  // The number the next new contour gets.
  std::int32_t ContourCount = 0;
};

}  // namespace morvane::engine
