#pragma once

#include <array>
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
// before it. The stretches form a tree in path order whose nodes count the points on
// either side, so that a point's position and an insertion cost a walk through the
// tree, logarithmic on average in the number of figures. A grid over the stored points
// finds the nearest pair without looking at far points.
class ConnectedPath {
 public:
  // Empties the path; the grid covers an image of this size (points outside it are
  // held to its edge cells).
  void Reset(std::int32_t width, std::int32_t height);
  // The same, the store taking over spare's memory when it has more room than its own:
  // the array a former path became, whose pages are in place. spare is left element 0
  // alone, in the store's former memory.
  void Reset(std::int32_t width, std::int32_t height, ContourPoints& spare);
  // Makes room at once for a path along figures and holes with this many unit edges
  // between figure and background pixels: grown a figure at a time, the store, its
  // links and the stretches would be copied again and again, each copy into fresh
  // memory. Room not written to costs no memory.
  void Reserve(std::int64_t edges);

  // The number of points, the upper bound of the array the path stands for.
  std::int32_t Size() const { return total_; }
  // The point at position 1.
  const ContourPoint& First() const;
  // Extends the path at its end by a figure (positions 1 on): back to the path's first
  // point when it has one, round the figure and to the figure's first point again, so
  // that the path closes at the junction.
  void AppendFigure(const ContourPoints& figure);

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
  // path is empty afterwards.
  void MoveTo(ContourPoints& out);

 private:
  // A stretch of the store and its node in the tree, a splay tree: every stretch the
  // path works on is rotated up to the root. Each figure works at the mark and at the
  // points nearest to it, which mostly lie in stretches of the figures just before, so
  // the tree's walks stay short and in memory touched a moment ago. -1 links to no
  // node. A node fills 32 bytes, so that none straddles two cache lines: a splay reads
  // and writes nodes spread over the whole tree.
  struct alignas(32) Stretch {
    std::int32_t begin = 0;  // in the store
    std::int32_t length = 0;
    std::int32_t parent = -1, left = -1, right = -1;
    // The points of the subtrees on either side: a walk up the tree reads one node per
    // level.
    std::int32_t leftPoints = 0, rightPoints = 0;
  };
  struct Mark {
    std::int32_t stretch = -1;
    std::int32_t offset = 0;
  };

  // A stretch of stored points that belongs to no tree yet; its points are labelled
  // with it.
  std::int32_t NewStretch(std::int32_t begin, std::int32_t length);
  // Lengthens a stretch by n (shortens it for a negative n).
  void Grow(std::int32_t s, std::int32_t n);
  // Puts stretch s into the tree just before or just after another, as its root.
  void InsertBefore(std::int32_t s, std::int32_t before);
  void InsertAfter(std::int32_t s, std::int32_t after);
  // Rotates s up to the root, keeping the path order.
  void Splay(std::int32_t s);
  // Lifts s above its parent, keeping the path order.
  void RotateUp(std::int32_t s);
  // The stretch after s in the cyclic path: the tree's order, read off its links.
  std::int32_t NextInPath(std::int32_t s) const;
  // Where a point of a stretch lies counting from the path order's start, from 0. A
  // stretch deeper than kShallowDepth is splayed on the way.
  std::int32_t Rank(std::int32_t stretch, std::int32_t offset);
  static constexpr std::int32_t kShallowDepth = 48;
  // The position, from 1, in the path that starts at the mark, of the point with that
  // rank.
  std::int32_t PositionFrom(std::int32_t rank, std::int32_t markRank) const;
  // Ends the mark's stretch in front of the mark, so that the mark starts a stretch.
  void SplitAtMark();
  void AddToGrid(std::int32_t stored);
  // The grid at the present cell size, from the points stored so far.
  void BuildGrid();
  // Halves the cells when they hold too many points each.
  void RefineGrid();
  std::size_t CellOf(std::int32_t x, std::int32_t y) const;
  // The pixels a cell covers; a cell at the grid's edge reaches on beyond it.
  PointBox CellBox(std::int32_t x, std::int32_t y) const;

  // The pair search takes newer this many points at a time: a run of a traced contour
  // spans a few pixels, so its box rules out most stored points near it.
  static constexpr std::int32_t kRunPoints = 8;
  // One pair search: the run of newer at hand, its box and that box widened by the
  // reach of bound; the smallest squared distance so far, least, and bound, the
  // largest squared distance at least's float distance. ties_ holds the pairs within
  // bound. A run shorter than kRunPoints is filled up with copies of its first point:
  // they change no smallest distance and come after it, and the loops over the run
  // have a fixed length, which the compiler unrolls and does several points at a time.
  struct PairSearch {
    std::array<ContourPoint, kRunPoints> run;
    std::array<std::int32_t, kRunPoints> runAt;  // positions in newer
    PointBox box, near;
    bool compact = false;  // near spans less than 2^15 pixels each way
    std::uint64_t least = UINT64_MAX;
    std::uint64_t bound = UINT64_MAX;
    void Widen();
  };
  // The cells that may hold a point within bound of the run's box, ring by ring around
  // the box's cells, while bound shrinks.
  void ScanNear(PairSearch& search);
  void ScanChain(std::int32_t head, PairSearch& search);
  // The pairs of a stored point with the run that lie within bound; true when one was
  // closer than least.
  bool TakePairs(std::int32_t stored, const ContourPoint& p, PairSearch& search);
  // Keeps a pair within bound among the ties.
  void AddTie(std::int32_t stored, std::int32_t newer);
  // Orders the points of one stretch as the path from the mark visits them: in store
  // order, but in the mark's stretch the points before the mark come last.
  std::int64_t PathOrder(std::int32_t stored, std::int32_t stretch) const;

  // Paths of up to this many points keep their memory from run to run, as many as the
  // engine keeps of the array of a run without Connected.
  static constexpr std::size_t kKeepPoints = std::size_t{1} << 22;
  // Reserve makes room for at most this many points; a larger path grows as it goes.
  static constexpr std::int64_t kMostReserved = std::int64_t{1} << 25;
  // The stored points, and beside each the next point of its grid cell and the stretch
  // that holds it. When the path becomes the array, the links' memory holds the store
  // while the store is rewritten in path order.
  struct PointLinks {
    std::int32_t nextInCell = -1;
    std::int32_t stretch = -1;
  };
  std::vector<ContourPoint> store_;
  std::vector<PointLinks> links_;
  std::vector<Stretch> stretches_;
  std::int32_t root_ = -1;
  Mark mark_;
  std::int32_t total_ = 0;

  // The grid: square cells, each a chain of stored points, newest first. They start
  // 32 pixels wide, which suits figures far apart, and halve down to 2 pixels while
  // the cells that hold points hold more than kCellPoints each, as dense pictures do.
  static constexpr std::int32_t kWidestShift = 5;
  static constexpr std::int32_t kFinestShift = 1;
  static constexpr std::size_t kCellPoints = 12;
  std::int32_t width_ = 0, height_ = 0;
  std::int32_t cellShift_ = kWidestShift;
  std::int32_t columns_ = 1, rows_ = 1;
  std::vector<std::int32_t> cellHead_;
  std::size_t occupied_ = 0;  // cells that hold a point

  struct Tie {
    std::int32_t stored = -1;
    std::int32_t newer = 0;
    std::int32_t stretch = -1;  // that holds stored
  };
  // Scratch of the pair search: the pairs at the best distance. Of the pairs a stored
  // point makes with newer only the first counts, and of two in a row in one stretch
  // only the one the path reaches first, so most pairs are dropped as they are found.
  std::vector<Tie> ties_;
};

}  // namespace morvane::engine
