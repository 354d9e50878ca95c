#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "engine/contour_points.h"

namespace morvane::engine {

// The collected array of a Connected whole-image run: one closed path that visits each
// figure in turn. Every new figure rotates the path to start at its point nearest to
// the figure and then extends it at its end. Rotating the array itself would move
// every point collected so far once per figure; here the points stay where they were
// stored and the path is a cyclic list of stretches of that store with a mark at its
// first point, so a rotation moves the mark and an extension inserts a stretch before
// it. The stretches are kept in blocks that know their length, which makes a point's
// position in the path a short sum. A grid over the stored points finds the nearest
// pair without looking at far points.
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
  Pair FindNearestPair(const ContourPoints& newer, float limit) const;
  // Makes the stored point the path's first, keeping the cyclic order.
  void RotateTo(std::int32_t stored);

  // The array the path stands for: element 0, then the points from position 1. The
  // path lets go of its memory on the way and is empty afterwards: on a large image it
  // holds as much as the array.
  void MoveTo(ContourPoints& out);

 private:
  struct Stretch {
    std::int32_t begin = 0;  // in the store
    std::int32_t length = 0;
  };
  struct Block {
    std::vector<std::int32_t> stretches;  // in path order
    std::int64_t length = 0;
  };
  struct Mark {
    std::int32_t stretch = -1;
    std::int32_t offset = 0;
  };

  std::int32_t StretchOf(std::int32_t stored) const;
  // Where a point of a stretch lies counting from the block list's start, from 0.
  std::int64_t Rank(std::int32_t stretch, std::int32_t offset) const;
  std::int32_t PositionOf(std::int32_t stored) const;
  // Puts stretch s into the block of `before`, just in front of it.
  void InsertBefore(std::int32_t s, std::int32_t before);
  void InsertAfter(std::int32_t s, std::int32_t after);
  void InsertAt(std::int32_t s, std::int32_t block, std::size_t at);
  void AddToGrid(std::int32_t stored);
  std::size_t CellOf(std::int32_t x, std::int32_t y) const;

  std::vector<ContourPoint> store_;
  std::vector<Stretch> stretches_;
  std::vector<std::int32_t> blockOf_;               // per stretch
  std::vector<Block> blocks_;                       // by id
  std::vector<std::int32_t> order_;                 // block ids in path order
  std::vector<std::int32_t> orderIndex_;            // per block id, its index in order_
  std::map<std::int32_t, std::int32_t> stretchAt_;  // store index where a stretch begins -> stretch
  Mark mark_;
  std::int32_t total_ = 0;
  std::int32_t lastAppended_ = -1;  // a stretch that ends the store and lies before the mark

  // The grid: cells of 16 x 16 pixels (8 and 32 measured no better on blobs), each a
  // chain of stored points.
  static constexpr std::int32_t kCellShift = 4;
  std::int32_t columns_ = 1, rows_ = 1;
  std::vector<std::int32_t> cellHead_;
  std::vector<std::int32_t> nextInCell_;
};

}  // namespace morvane::engine
