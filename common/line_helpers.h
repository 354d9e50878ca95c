#pragma once

#include <cstdint>

#include "common/contour_point.h"

namespace morvane::common {

// The straight line through p1 and p2. True when it is y = a*x + b; false when the
// points share their x and the line is x = a*y + b (a = 0, b = x1); false, with a and b
// left alone, when the points coincide. The coefficients are divisions done in double
// and kept as float; the products are taken in 64 bits so no coordinates overflow.
bool LineThroughPoints(const ContourPoint& p1, const ContourPoint& p2, float& a, float& b);

// a*x + b + 0.5, rounded half to even: a value that is not whole rounds up, a whole
// value n stays n when even and becomes n + 1 when odd. The point reduction's
// results depend on this, so keep it. Saturates at the 32-bit range.
std::int32_t LineValueAt(std::int32_t x, float a, float b);

}  // namespace morvane::common
