#pragma once

#include <cmath>
#include <cstdint>

#include "engine/contour_points.h"

namespace morvane::engine {

// dx² + dy², exact; held at the largest value where the sum leaves 64 bits (only
// points some 2^32 apart get there, and they are far whatever their distance).
inline std::uint64_t SquaredSum(std::int64_t dx, std::int64_t dy) {
  const std::uint64_t ax = dx < 0 ? 0 - static_cast<std::uint64_t>(dx) : static_cast<std::uint64_t>(dx);
  const std::uint64_t ay = dy < 0 ? 0 - static_cast<std::uint64_t>(dy) : static_cast<std::uint64_t>(dy);
  std::uint64_t sum = 0;
  // Each difference of 32-bit coordinates squares within 64 bits.
  if (__builtin_add_overflow(ax * ax, ay * ay, &sum)) return UINT64_MAX;
  return sum;
}

inline std::uint64_t SquaredDistance(const ContourPoint& a, const ContourPoint& b) {
  return SquaredSum(std::int64_t{a.x} - b.x, std::int64_t{a.y} - b.y);
}

// The distance as the pair search compares it: a float root.
inline float FloatDistance(std::uint64_t squared) {
  return static_cast<float>(std::sqrt(static_cast<double>(squared)));
}

// The bounding box of an array's points from position 1, separators skipped.
struct PointBox {
  std::int64_t x0 = INT64_MAX, x1 = INT64_MIN, y0 = INT64_MAX, y1 = INT64_MIN;

  static PointBox Of(const ContourPoints& points) {
    PointBox box;
    for (std::size_t j = 1; j < points.size(); ++j) {
      const ContourPoint& q = points[j];
      if (!IsSeparator(q)) {
        box.x0 = q.x < box.x0 ? q.x : box.x0;
        box.x1 = q.x > box.x1 ? q.x : box.x1;
        box.y0 = q.y < box.y0 ? q.y : box.y0;
        box.y1 = q.y > box.y1 ? q.y : box.y1;
      }
    }
    return box;
  }
  bool Empty() const { return x0 > x1; }
  // No point of the box is nearer to e than this.
  std::uint64_t SquaredTo(const ContourPoint& e) const {
    return SquaredSum(e.x < x0 ? x0 - e.x : (e.x > x1 ? e.x - x1 : 0),
                      e.y < y0 ? y0 - e.y : (e.y > y1 ? e.y - y1 : 0));
  }
};

// Squared distances from this on have float roots above best: no pair of theirs has
// the distance best.
inline double BeyondSquared(float best) {
  return std::pow(static_cast<double>(std::nextafter(best, INFINITY)), 2);
}

}  // namespace morvane::engine
