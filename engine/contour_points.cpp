#include "engine/contour_points.h"

#include <algorithm>

namespace morvane::engine {

void ResetPoints(ContourPoints& points) { points.assign(1, ContourPoint{}); }

void CutPoints(ContourPoints& points, std::int32_t upper) {
  points.resize(static_cast<std::size_t>(std::max<std::int32_t>(upper, 0)) + 1);
}

bool PointsEqual(const ContourPoint& a, const ContourPoint& b) { return a.x == b.x && a.y == b.y; }

void CopyPoints(const ContourPoints& source, ContourPoints& destination) {
  if (&source != &destination) {
    destination.assign(source.begin(), source.end());
  }
  if (destination.empty()) {
    destination.emplace_back();
  }
  destination[0] = ContourPoint{};
}

void GetContourRange(const ContourPoints& points, std::int32_t i, std::int32_t& first,
                     std::int32_t* last) {
  const std::int32_t upper = UpperBound(points);
  first = 1;
  for (std::int32_t k = std::min(i, upper + 1) - 1; k >= 1; --k) {
    if (IsSeparator(points[static_cast<std::size_t>(k)])) {
      first = k + 1;
      break;
    }
  }
  if (last != nullptr) {
    *last = upper;
    for (std::int32_t k = std::max(i, 0) + 1; k <= upper; ++k) {
      if (IsSeparator(points[static_cast<std::size_t>(k)])) {
        *last = k - 1;
        break;
      }
    }
  }
}

void RenumberContours(ContourPoints& points, std::int32_t& count) {
  // A separator gets the number of the contour after it, which is the number of
  // contours before it. One with no contour in front (at the start, or right after
  // another separator) ends no contour and is not counted, so a document emptied by
  // deleting contours counts 0 and the next contour is numbered like its title.
  std::int32_t contours = 0;
  bool inContour = false;
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (IsSeparator(points[k])) {
      if (inContour) {
        ++contours;
        inContour = false;
      }
      points[k].x = contours;
    } else {
      inContour = true;
    }
  }
  count = contours + (inContour ? 1 : 0);
}

void RotateContour(ContourPoints& points, std::int32_t start, bool within) {
  std::int32_t lo = 1;
  std::int32_t hi = UpperBound(points);
  if (hi == 0) {
    return;
  }
  if (within) {
    GetContourRange(points, start, lo, &hi);
  }
  if (start < lo || start > hi) {
    return;
  }
  const auto begin = points.begin();
  std::rotate(begin + lo, begin + start, begin + hi + 1);
}

}  // namespace morvane::engine
