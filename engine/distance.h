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
      if (!IsSeparator(points[j])) box.Add(points[j]);
    }
    return box;
  }
  bool Empty() const { return x0 > x1; }
  // No point of the box is nearer to e than this.
  std::uint64_t SquaredTo(const ContourPoint& e) const {
    return SquaredSum(e.x < x0 ? x0 - e.x : (e.x > x1 ? e.x - x1 : 0),
                      e.y < y0 ? y0 - e.y : (e.y > y1 ? e.y - y1 : 0));
  }
  // No point of the box is nearer to a point of the other box than this.
  std::uint64_t SquaredTo(const PointBox& o) const {
    return SquaredSum(o.x1 < x0 ? x0 - o.x1 : (o.x0 > x1 ? o.x0 - x1 : 0),
                      o.y1 < y0 ? y0 - o.y1 : (o.y0 > y1 ? o.y0 - y1 : 0));
  }
  void Add(const ContourPoint& q) {
    x0 = q.x < x0 ? q.x : x0;
    x1 = q.x > x1 ? q.x : x1;
    y0 = q.y < y0 ? q.y : y0;
    y1 = q.y > y1 ? q.y : y1;
  }
};

// Squared distances from this on have float roots above best: no pair of theirs has
// the distance best.
inline double BeyondSquared(float best) {
  return std::pow(static_cast<double>(std::nextafter(best, INFINITY)), 2);
}

// The largest squared distance whose float root equals least's: the pairs at least's
// float distance are those whose squared distance lies from least to this. Float roots
// grow with the squared distance, so it is found by doubling strides and halving them.
inline std::uint64_t LastSquaredAtDistance(std::uint64_t least) {
  const float best = FloatDistance(least);
  const auto same = [best](std::uint64_t from, std::uint64_t stride) {
    return stride <= UINT64_MAX - from && FloatDistance(from + stride) == best;
  };
  std::uint64_t last = least;
  std::uint64_t stride = 1;
  while (stride < (std::uint64_t{1} << 63) && same(last, stride)) {
    last += stride;
    stride <<= 1;
  }
  for (stride >>= 1; stride > 0; stride >>= 1) {
    if (same(last, stride)) last += stride;
  }
  return last;
}

}  // namespace morvane::engine
