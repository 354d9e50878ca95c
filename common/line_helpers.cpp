#include "common/line_helpers.h"

#include <cmath>
#include <limits>

namespace morvane::common {

namespace {

// p - q as a double; exact while the difference fits 64 bits.
double Difference(std::int64_t p, std::int64_t q) {
  std::int64_t d = 0;
  if (__builtin_sub_overflow(p, q, &d)) {
    return static_cast<double>(p) - static_cast<double>(q);
  }
  return static_cast<double>(d);
}

}  // namespace

bool LineThroughPoints(const ContourPoint& p1, const ContourPoint& p2, float& a, float& b) {
  const std::int64_t x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
  if (x1 != x2) {
    const double dx = static_cast<double>(x2 - x1);
    a = static_cast<float>(static_cast<double>(y2 - y1) / dx);
    b = static_cast<float>(Difference(y1 * x2, y2 * x1) / dx);
    return true;
  }
  if (y1 != y2) {
    const double dy = static_cast<double>(y2 - y1);
    a = static_cast<float>(static_cast<double>(x2 - x1) / dy);
    b = static_cast<float>(Difference(x1 * y2, x2 * y1) / dy);
  }
  return false;
}

std::int32_t LineValueAt(std::int32_t x, float a, float b) {
  const double v =
      std::nearbyint(static_cast<double>(a) * static_cast<double>(x) + static_cast<double>(b) + 0.5);
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  if (!(v >= kLow)) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (v > kHigh) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(v);
}

}  // namespace morvane::common
