#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/contour_point.h"

namespace morvane::engine {

using ContourPoint = common::ContourPoint;

// All contours of a document in one array. Element 0 is never a point and holds (0, 0);
// the contours follow from index 1, one after another, each closed (its last vertex
// joins its first). Between two contours stands a separator: y = -1 (readers test
// y < 0) and x = the number of the contour after it. An empty document is element 0
// alone.
using ContourPoints = std::vector<ContourPoint>;

inline ContourPoints EmptyContourPoints() { return ContourPoints(1); }

// The highest index of points: 0 for an empty document.
inline std::int32_t UpperBound(const ContourPoints& points) {
  return points.empty() ? 0 : static_cast<std::int32_t>(points.size() - 1);
}

inline bool IsSeparator(const ContourPoint& p) { return p.y < 0; }
inline ContourPoint Separator(std::int32_t number) { return {number, -1}; }

// Empties points to element 0 alone.
void ResetPoints(ContourPoints& points);

// Keeps elements 0..upper: the array's cut to a new upper bound.
void CutPoints(ContourPoints& points, std::int32_t upper);

bool PointsEqual(const ContourPoint& a, const ContourPoint& b);

// destination := source with element 0 reset to (0, 0).
void CopyPoints(const ContourPoints& source, ContourPoints& destination);

// The stretch of the contour that holds position i: first is the position after the
// nearest separator before i (1 when none), last the position before the nearest
// separator after i (the upper bound when none). Position i itself is not examined.
void GetContourRange(const ContourPoints& points, std::int32_t i, std::int32_t& first,
                     std::int32_t* last = nullptr);

// Numbers the contours 0, 1, ... in array order: each separator gets the number of
// the contour after it. count := the number of contours, the number the next
// contour gets.
void RenumberContours(ContourPoints& points, std::int32_t& count);

// A points array kept as it grows, a byte for each point that lies within 7 of the one
// before (the steps of a trace), nine for any other (separators, a figure's first
// point): an eighth of the memory while a whole-image run holds the mask as well.
// Element 0 is implied. The bytes grow in blocks, so that growing never holds an old
// copy and a new one at once.
class PackedPoints {
 public:
  // Element 0 alone.
  void Reset();
  // The number of elements, element 0 included: the size the array would have.
  std::size_t size() const { return count_; }
  void push_back(const ContourPoint& p);
  void append(const ContourPoint* first, const ContourPoint* last);
  // points := the elements, element 0 included; the packed bytes are released.
  void MoveTo(ContourPoints& points);

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t used = 0;
  };
  std::vector<Block> blocks_;
  std::size_t count_ = 1;
  ContourPoint last_{};
};

// Brings the element at start to the front, keeping the cyclic order: of the
// stretch 1..upper bound, or, when within, of the contour that holds start. A start
// outside the stretch leaves the array alone.
void RotateContour(ContourPoints& points, std::int32_t start, bool within);

}  // namespace morvane::engine
