#pragma once

#include <cstdint>
#include <vector>

#include "engine/contour_points.h"
#include "engine/distance.h"

namespace morvane::engine {

// The collected array of a Connected whole-image run: one closed path that visits each
// figure in turn. Every new figure rotates the path to start at its point nearest to
// the figure and then extends it at its end. Rotating the array itself would move
// every point collected so far once per figure; here the points stay where they were
// stored and the path is a cyclic sequence of stretches of that store with a mark at
// its first point, so a rotation moves the mark and an extension inserts a stretch
// before it. The stretches form a balanced tree in path order whose nodes count the
// points below them, so a point's position is a walk up the tree and an insertion a
// walk down: both logarithmic in the number of figures. A grid over the stored points
// finds the nearest pair without looking at far points.
class ConnectedPath {
 public:
  // Empties the path; the grid covers an image of this size (points outside it are
  // held to its edge cells).
  void Reset(std::int32_t width, std::int32_t height);

  // The number of points, the upper bound of the array the path stands for.
  std::int32_t Size() const { return total_; }
  // The point at position 1.
  const ContourPoint& First() const;
  // Appends points at the end of the path.
  void Append(const ContourPoint* begin, const ContourPoint* end);
  void Append(const ContourPoint& point) { Append(&point, &point + 1); }

  // The nearest pair between the path and the points of newer (positions 1 on,
  // separators skipped), as the pair search of the plain arrays takes it: the smallest
  // squared distance, and then of the pairs whose float distance equals its root the
  // one first in the order path position by newer position, provided that distance is
  // below limit. position is 0 when there is none.
  struct Pair {
    std::int32_t position = 0;  // in the path, from 1
    std::int32_t newer = 0;     // in newer
    std::int32_t stored = -1;   // the path's point in the store
    bool swept = false;         // the smallest distance lies below limit
  };
  Pair FindNearestPair(const ContourPoints& newer, float limit);
  // Makes the stored point the path's first, keeping the cyclic order.
  void RotateTo(std::int32_t stored);

  // The array the path stands for: element 0, then the points from position 1. The
  // path lets go of its memory on the way and is empty afterwards: on a large image it
  // holds as much as the array.
  void MoveTo(ContourPoints& out);

 private:
  // A stretch of the store and its node in the tree (a treap: each node's priority, a
  // hash of its index, is above its children's, which keeps the tree balanced whatever
  // the order of insertions). -1 links to no node.
  struct Stretch {
    std::int32_t begin = 0;  // in the store
    std::int32_t length = 0;
    std::int32_t parent = -1, left = -1, right = -1;
    std::int32_t points = 0;  // in this stretch and the stretches below it
  };
  struct Mark {
    std::int32_t stretch = -1;
    std::int32_t offset = 0;
  };

  // A stretch of stored points that belongs to no tree yet; its points are labelled
  // with it.
  std::int32_t NewStretch(std::int32_t begin, std::int32_t length);
  // Lengthens a stretch by n (shortens it for a negative n), counted up the tree.
  void Grow(std::int32_t s, std::int32_t n);
  // Puts stretch s into the tree just before or just after another.
  void InsertBefore(std::int32_t s, std::int32_t before);
  void InsertAfter(std::int32_t s, std::int32_t after);
  void Attach(std::int32_t s, std::int32_t parent, bool asLeft);
  // Lifts s above its parent, keeping the path order.
  void RotateUp(std::int32_t s);
  std::int32_t PointsBelow(std::int32_t s) const;
  std::int32_t Leftmost(std::int32_t s) const;
  // The stretch after s in the cyclic path.
  std::int32_t Next(std::int32_t s) const;
  // Where a point of a stretch lies counting from the path order's start, from 0.
  std::int32_t Rank(std::int32_t stretch, std::int32_t offset) const;
  // The position, from 1, of a stored point in the path that starts at the mark, whose
  // rank is given.
  std::int32_t PositionOf(std::int32_t stored, std::int32_t markRank) const;
  // Ends the mark's stretch in front of the mark, so that the mark starts a stretch.
  void SplitAtMark();
  void AddToGrid(std::int32_t stored);
  std::size_t CellOf(std::int32_t x, std::int32_t y) const;
  // The pixels a cell covers; a cell at the grid's edge reaches on beyond it.
  PointBox CellBox(std::int32_t x, std::int32_t y) const;
  // Calls visit(stored) for the stored points of every cell that may hold a point
  // within bound (squared) of box, ring by ring around the box's cells; bound may
  // shrink during the visit.
  template <typename Visit>
  void VisitNear(const PointBox& box, const std::uint64_t& bound, Visit visit) const;

  std::vector<ContourPoint> store_;
  std::vector<std::int32_t> stretchOf_;  // per stored point
  std::vector<Stretch> stretches_;
  std::int32_t root_ = -1;
  Mark mark_;
  std::int32_t total_ = 0;
  std::int32_t lastAppended_ = -1;  // a stretch that ends the store and lies before the mark

  // The grid: cells of 8 x 8 pixels, each a chain of stored points.
  static constexpr std::int32_t kCellShift = 3;
  std::int32_t columns_ = 1, rows_ = 1;
  std::vector<std::int32_t> cellHead_;
  std::vector<std::int32_t> nextInCell_;

  // The pair search takes newer this many points at a time: a run of a traced contour
  // spans a few pixels, so its box rules out most stored points near it.
  static constexpr std::int32_t kRunPoints = 8;
  struct Tie {
    std::int32_t stored = -1;
    std::int32_t newer = 0;
  };
  std::vector<Tie> ties_;  // scratch of the pair search
};

}  // namespace morvane::engine
