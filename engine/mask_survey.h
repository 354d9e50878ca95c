#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/contour_points.h"
#include "engine/mask_value.h"

namespace morvane::engine {

// What a whole-image run needs to know of its mask, found row by row while the mask is
// written and each row is still in the cache: the first pixel of every figure
// (8-connected black) in raster order, and which white is outer background. Runs are
// joined to the runs of the row above (union-find); the mask is not read again, except
// the few rows whose white was not settled when they were read.
class MaskSurvey {
 public:
  // A mask of w x h pixels, black and white only, is about to be written.
  void Begin(std::int32_t w, std::int32_t h);
  // Row y has been written: joins its runs and marks the white already known to be
  // outer with kMaskOuter. Returns the row's number of black pixels.
  std::int32_t AddRow(std::uint8_t* row, std::int32_t y);
  // After the last row: marks the rest of the outer background in the mask (`bits`,
  // its rows one after another) and collects the figures' first pixels.
  void Finish(std::uint8_t* bits);
  // The first pixel of each figure, in raster order.
  const std::vector<ContourPoint>& Starts() const { return starts_; }
  // Gives back the memory of the survey but the starts.
  void ReleaseRuns();

 private:
  struct Run {
    std::int32_t begin, end, node;
  };
  // Sets joined by making the smaller node the root, so that a set's root is its
  // first node: node 0 for the outside, a figure's top-left run for a figure.
  struct Sets {
    std::vector<std::int32_t> parent;
    std::int32_t Add();
    std::int32_t Find(std::int32_t k);
    // root (or none, -1) joined with the set of node.
    std::int32_t Join(std::int32_t root, std::int32_t node);
  };

  std::int32_t w_ = 0;
  std::int32_t h_ = 0;
  std::vector<std::uint64_t> white_;
  // White: node 0 is the outside. A run not yet joined to it is pending: its node is
  // kept in raster order, and its row is marked.
  Sets background_;
  std::deque<std::int32_t> pendingNodes_;
  std::vector<std::uint8_t> rowPending_;
  std::vector<Run> whiteAbove_, whiteHere_;
  // Black: a node for each run that touches no black run above, with its first pixel.
  Sets figures_;
  std::vector<ContourPoint> firstPixels_;
  std::vector<Run> blackAbove_, blackHere_;
  std::vector<ContourPoint> starts_;
};

}  // namespace morvane::engine
