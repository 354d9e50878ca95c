#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/connected_path.h"
#include "engine/contour_points.h"
#include "engine/contour_state.h"
#include "engine/host.h"
#include "platform/core/pixel_buffer.h"
#include "platform/core/units.h"

namespace morvane::engine {

// Twips per pixel on both axes, fixed.
inline constexpr std::int32_t kTwipsPerPixel = core::kTwipsPerPixel;

// The eight neighbours of a pixel, positions 1 to 8: W, SW, S, SE, E, NE, N, NW (y grows
// downwards); a list of positions 1 to 4 holds W, S, E, N.
void GetNeighbours(const ContourPoint& point, ContourPoints& list);

// Direction of the segment from i to j with pi taken as the float 3.1416: 0 for i = j,
// 0.5 pi or 1.5 pi when vertical, 0 or pi when horizontal, else the arctangent of the
// slope (between -pi/2 and pi/2).
double SegmentAngle(const ContourPoint& i, const ContourPoint& j);
double SegmentAngle(const ContourPoints& points, std::int32_t i, std::int32_t j);

// A bevel that RectifyCorner recognises: offsets of the three points before the newest
// one, and where the middle of the bevel moves.
struct StepPattern {
  std::int32_t d1x = 0, d1y = 0, d2x = 0, d2y = 0, d3x = 0, d3y = 0;
  std::int32_t cx = 0, cy = 0;
};
StepPattern MakeStepPattern(std::int32_t d1x, std::int32_t d1y, std::int32_t d2x,
                            std::int32_t d2y, std::int32_t d3x, std::int32_t d3y,
                            std::int32_t cx, std::int32_t cy);
// The eight patterns in the order they are tried.
const std::array<StepPattern, 8>& StepPatterns();

// The contour tracing engine: builds the mask of an image, follows figure boundaries,
// reduces points and keeps the contours of the document's point array. It works on
// the main window's fields (the ContourState, the settings below) and reaches the
// window only through the host interfaces.
class ContourEngine {
 public:
  ContourEngine(ContourState& state, EngineHost& host, RunControl& run, TitlesList& titles);

  // Approximation method of the point reduction: 0 line fit, 1 direction change, 2 line
  // of sight with neighbour test, 3 direction change then line of sight; 2.5 (line of
  // sight alone) exists only while method 3 runs.
  float ApproxMethod = 3;
  // The check mark of Settings > Connected: new contours are joined to the nearest one.
  bool Connected = false;
  // Two positions in ContourPoints for JoinContours and CutBetweenPoints.
  std::array<std::int32_t, 2> PointPair{0, 0};

  // The image (pbImage); not owned, it must outlive every call that reads it.
  void SetImage(const core::RgbImage* image) { image_ = image; }
  // The background colour the user chose, an OLE colour (red in the low byte); a
  // system colour matches no pixel.
  void SetBackColor(std::int32_t colour);
  std::int32_t BackColor() const { return backColor_; }

  // The mask: white where the image shows the background colour (through the 16-colour
  // conversion), black elsewhere.
  void PrepareMask();
  std::int32_t MaskWidth() const { return maskW_; }
  std::int32_t MaskHeight() const { return maskH_; }
  // One mask pixel: kMaskBlack, kMaskWhite, kMaskPainted (a figure the whole-image
  // run has traced) or kMaskOutside beyond the mask.
  std::uint8_t MaskPixel(std::int32_t x, std::int32_t y) const;
  static constexpr std::uint8_t kMaskPainted = 1;
  static constexpr std::uint8_t kMaskOutside = 2;

  // Finds the start pixel of a figure from a clicked or scanned pixel; when found,
  // ContourPoints holds it alone at position 1.
  bool FindContourStart(std::int32_t x, std::int32_t y);
  // Traces the figure found from (x, y) into ContourPoints, round the figure's
  // 8-connected boundary and out along one-pixel arms and back. False when no figure is
  // found or the trace runs into a dead end, as a single pixel does (points traced so
  // far stay); a stop request ends it early with true and an open contour.
  bool TraceContourAt(std::int32_t x, std::int32_t y);
  // Squares the staircase corner that ends at position i of ContourPoints when the
  // image is not background there; true when it did.
  bool RectifyCorner(std::int32_t i);

  // Reduces points by ApproxMethod and moves the survivors to positions 1..count;
  // the caller cuts the array to count.
  std::int32_t SimplifyContour(ContourPoints& points, bool closed);

  // Adds the contour of the figure under a click (twips of the image) to the document.
  void AddContourAtPoint(std::int32_t x, std::int32_t y);
  // Rotates ContourPoints so that its point nearest to the image origin comes first.
  void StartAtNearestOrigin();
  // Finds the nearest pair of points between the two arrays and rotates both to start
  // there (existing within its contour). Returns the existing position before the
  // rotation, 0 when there is no pair (then nothing rotates).
  std::int32_t ConnectToPrevious(ContourPoints& existing, ContourPoints& newer);
  // Joins the contours that hold the two positions of PointPair into one.
  void JoinContours();
  // Removes the points strictly between the two positions of PointPair.
  void CutBetweenPoints();
  void RemovePointsBetween() { CutBetweenPoints(); }
  // The position nearest to a point in twips of the image, 0 for an empty document.
  std::int32_t FindNearestPoint(float x, float y);

  // File > Create: replaces the contours by those of every figure and hole of the image.
  void mFileCreate_Click();
  // The next mask pixel after p in raster order that is background; p moves to it.
  bool FindNextRegionPixel(ContourPoint& p);
  // The number of mask pixels that are not background.
  std::int32_t CountRegionPixels();

 private:
  enum class TraceResult { NoFigure, DeadEnd, Found };

  std::size_t Index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(maskW_) +
           static_cast<std::size_t>(x);
  }
  // The first pixel at or after (x, y) in raster order whose mask byte is value, with a
  // tick after each row scanned (the row of the find too); found is set only when there
  // is one.
  bool ScanRaster(std::int64_t x, std::int32_t y, std::uint8_t value, ContourPoint& found);
  bool FindStart(std::int32_t x, std::int32_t y, ContourPoint& start);
  TraceResult Trace(std::int32_t x, std::int32_t y);
  bool ImageIsBackground(std::int32_t x, std::int32_t y) const;
  // The two positions of PointPair in ascending order, stored back so; false when they
  // are equal or either is no point of the array.
  bool TakePointPair(std::int32_t& p, std::int32_t& q);
  // Background fills 4-connected; the trace goes round 8-connected figures.
  enum class Connectivity { Four, Eight };
  void FloodFill(std::int32_t x, std::int32_t y, std::uint8_t from, std::uint8_t to,
                 Connectivity connectivity);
  void FloodOuterBackground(bool unpaint);
  void RunFlood(std::uint8_t from, std::uint8_t to, Connectivity connectivity);
  // One reduction by a method other than 3, clean-up included.
  std::int32_t ReduceOnce(ContourPoints& points, bool closed);
  void SimplifyOnce(ContourPoints& points, bool closed, std::int32_t& upper,
                    std::vector<std::uint8_t>& removed);
  std::int32_t CleanUp(ContourPoints& points, bool closed, std::int32_t upper);
  struct ProgressGate {
    std::int32_t next = 0;
    int shown = 0;
  };
  void ReductionStep(std::int32_t c, std::int32_t upper, ProgressGate& gate);
  // The pair search's farthest distance: the image's diagonal.
  float PairLimit() const;
  // The ticks and bar moves of the pair search's second sweep over eu existing and nu
  // new positions that found the pair (i0, j0), (0, 0) for none.
  void ShowSweptPairs(std::int32_t eu, std::int32_t nu, std::int32_t i0, std::int32_t j0);
  // ConnectToPrevious on the Connected run's path.
  void ConnectPath(ConnectedPath& path, ContourPoints& newer);

  ContourState& state_;
  EngineHost& host_;
  RunControl& run_;
  TitlesList& titles_;

  const core::RgbImage* image_ = nullptr;
  std::int32_t backColor_ = 0xFFFFFF;
  std::uint32_t backRgb_ = 0xFFFFFF;  // the colour as 0xRRGGBB
  bool backIsPlain_ = true;

  // The mask as built from the image; the whole-image run paints on it.
  core::Mask mask_;
  std::int32_t maskW_ = 0;
  std::int32_t maskH_ = 0;

  std::vector<ContourPoint> currentMoves_;
  std::vector<ContourPoint> floodStack_;
  // Scratch kept between runs, so that a run reuses memory it has already touched.
  ContourPoints collected_;
  std::vector<std::uint8_t> removed_;
  struct BackgroundRun {
    std::int32_t begin, end;
  };
  ConnectedPath connectedPath_;
};

}  // namespace morvane::engine
