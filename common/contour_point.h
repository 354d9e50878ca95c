#pragma once

#include <cstdint>

namespace morvane::common {

// One vertex of a contour in image pixels, origin at the top left, y growing downwards.
// A separator in a point array is a point whose y is negative.
struct ContourPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend constexpr bool operator==(const ContourPoint&, const ContourPoint&) = default;
};

}  // namespace morvane::common
