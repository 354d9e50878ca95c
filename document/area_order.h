#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "engine/contour_points.h"

namespace morvane::document {

// The order a map lists its contours in. A browser takes the first area that holds a
// point, so each contour that lies inside another (a room in its walls, a ring's
// hole, an island in a lake) comes before the one around it, innermost first;
// contours at the same depth keep their order. contours[k] holds the vertices of
// contour k; the answer lists every k once.
//
// A contour lies inside another when its bounding box does and its first vertex that
// is not on the other's outline lies inside it (even-odd, as browsers test); one whose
// vertices all lie on the other's outline lies inside it when it is the smaller. The
// candidates are found by a sweep over the boxes, and large outlines are tested
// through an index of their edges by rows, so tens of thousands of contours within one
// border take no quadratic time.
std::vector<std::size_t> InnermostFirst(const std::vector<std::span<const engine::ContourPoint>>& contours);

}  // namespace morvane::document
