#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/connected_path.h"
#include "engine/contour_points.h"
#include "engine/contour_set.h"
#include "engine/mask_survey.h"
#include "engine/mask_value.h"
#include "engine/window_roles.h"
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
StepPattern MakeStepPattern(std::int32_t d1x, std::int32_t d1y, std::int32_t d2x, std::int32_t d2y,
                            std::int32_t d3x, std::int32_t d3y, std::int32_t cx, std::int32_t cy);
// The eight patterns in the order they are tried.
const std::array<StepPattern, 8>& StepPatterns();

// The approximation method of the point reduction, numbered as the settings store it.
// Method 3 runs direction change, then line of sight alone; that second pass is
// LineOfSight, which tests and benchmarks also run by itself.
enum class ReductionMethod : std::int32_t {
  LineFit = 0,
  DirectionChange = 1,
  LineOfSightWithNeighbours = 2,
  DirectionChangeThenLineOfSight = 3,
  LineOfSight = 4,
};

// Two positions of a point array, in either order: the points a join or a cut works on.
using PointPair = std::array<std::int32_t, 2>;

// What adding the contour under a click did.
enum class AddOutcome { NotAdded, Added, Joined };

// The contour tracing engine: builds the mask of an image, follows figure boundaries
// in a buffer of its own, reduces points and edits contour sets. A whole-image run
// collects its contours apart from the document and hands them over when it ends, so
// nothing the window draws while events are pumped is half built. It reaches the
// window only through its roles.
class ContourEngine {
 public:
  ContourEngine(RunControl& run, StatusLine& status, PictureView& picture, TitlesView& titles);

  ReductionMethod ApproxMethod = ReductionMethod::DirectionChangeThenLineOfSight;
  // The check mark of Settings > Connected: new contours are joined to the nearest one.
  bool Connected = false;

  // The image (pbImage); not owned, it must outlive every call that reads it.
  void SetImage(const core::RgbImage* image) { image_ = image; }
  // The background colour the user chose, an OLE colour (red in the low byte); a
  // system colour matches no pixel.
  void LetBackColor(std::int32_t colour);
  std::int32_t BackColor() const { return backColor_; }

  // The mask: white where the image shows the background colour (through the 16-colour
  // conversion), black elsewhere.
  void PrepareMask();
  std::int32_t MaskWidth() const { return maskW_; }
  std::int32_t MaskHeight() const { return maskH_; }
  // One mask pixel, a MaskValue: kMaskOutside beyond the mask.
  std::uint8_t MaskPixel(std::int32_t x, std::int32_t y) const;

  // The trace buffer: the points the last trace left, element 0 unused.
  ContourPoints& Traced() { return traced_; }

  // Finds the start pixel of a figure from a clicked or scanned pixel; when found,
  // the trace buffer holds it alone at position 1.
  bool FindContourStart(std::int32_t x, std::int32_t y);
  // Traces the figure found from (x, y) into the trace buffer, round the figure's
  // 8-connected boundary and out along one-pixel arms and back. False when no figure is
  // found or the trace runs into a dead end, as a single pixel does (points traced so
  // far stay); a stop request ends it early with true and an open contour.
  bool TraceContourAt(std::int32_t x, std::int32_t y);
  // Squares the staircase corner that ends at position i of the trace buffer when the
  // image is not background there; true when it did.
  bool RectifyCorner(std::int32_t i);

  // Reduces points by ApproxMethod and moves the survivors to positions 1..count;
  // the caller cuts the array to count.
  std::int32_t SimplifyContour(ContourPoints& points, bool closed) {
    return SimplifyContour(points, closed, ApproxMethod);
  }
  std::int32_t SimplifyContour(ContourPoints& points, bool closed, ReductionMethod method);

  // Adds the contour of the figure under a click (twips of the image) to contours,
  // numbered and titled with format. Refusals leave contours alone and say why in
  // panel "Progress2".
  AddOutcome AddContourAtPoint(ContourSet& contours, std::int32_t x, std::int32_t y,
                               std::string_view format);
  // Rotates points so that the point nearest to the image origin comes first.
  void StartAtNearestOrigin(ContourPoints& points);
  // Finds the nearest pair of points between the two arrays and rotates both to start
  // there (existing within its contour). Returns the existing position before the
  // rotation, 0 when there is no pair (then nothing rotates).
  std::int32_t ConnectToPrevious(ContourPoints& existing, ContourPoints& newer);
  // Joins the two contours that hold the pair's positions into one; true when joined.
  bool JoinContours(ContourSet& contours, PointPair pair);
  // Removes the points strictly between the pair's positions; true when it did.
  bool CutBetweenPoints(ContourSet& contours, PointPair pair);
  // The position nearest to a point in twips of the image, 0 for an empty document;
  // selects the title of its contour and moves the mouse pointer onto it.
  std::int32_t FindNearestPoint(const ContourSet& contours, float x, float y);

  // The contours of every figure and hole of the image, numbered and titled with
  // format (File > Create, mFileCreate_Click). A stopped run gives what it had
  // collected.
  ContourSet CreateWholeImageContours(std::string_view format);
  // The next mask pixel after p in raster order that is background; p moves to it.
  bool FindNextRegionPixel(ContourPoint& p);
  // The number of mask pixels that are not background.
  std::int32_t CountRegionPixels();

 private:
  enum class TraceResult { NoFigure, DeadEnd, Found };

  std::size_t Index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(maskW_) + static_cast<std::size_t>(x);
  }
  // The first pixel at or after (x, y) in raster order whose mask byte is value, with a
  // tick after each row scanned (the row of the find too); found is set only when there
  // is one. With equal false, the first whose byte is not value.
  bool ScanRaster(std::int64_t x, std::int32_t y, MaskValue value, ContourPoint& found,
                  bool equal = true);
  bool FindStart(std::int32_t x, std::int32_t y, ContourPoint& start);
  // The trace from a clicked or scanned pixel, and from a start already found; mask
  // values up to `figure` count as figure.
  TraceResult Trace(std::int32_t x, std::int32_t y, MaskValue figure);
  TraceResult Follow(ContourPoint start, MaskValue figure);
  // The trace of the surveyed mask's figure at that index, as the figures' pass goes on
  // from the last start, `from`.
  TraceResult TraceFigure(const ContourPoint& from, std::size_t figure);
  // PrepareMask for a whole-image run: the survey finds the figures' first pixels and
  // marks the outer background kMaskOuter while the mask is written.
  void PrepareSurveyedMask();
  void PrepareMask(bool survey);
  bool ImageIsBackground(std::int32_t x, std::int32_t y) const;
  // Whether a mask pixel was white when the mask was surveyed. While exactBackground_
  // holds (every pixel that turned white is exactly the background colour), that is
  // ImageIsBackground without reading the picture, which a trace would read at random.
  bool MaskWasWhite(const ContourPoint& p) const;
  // RectifyCorner on the trace's newest point i, which the move to neighbour position q
  // reached: the bevel is read off the moves instead of matched against each pattern.
  bool SquareCorner(ContourPoint* points, std::int32_t i, std::size_t q) const;
  // The pair's two positions in ascending order; false when they are equal or either is
  // no point of the array.
  static bool OrderPointPair(const ContourPoints& points, PointPair pair, std::int32_t& p,
                             std::int32_t& q);
  // Fills the white 4-connected to (x, y) with kMaskFilledHole: a hole the holes pass
  // has traced.
  void FillHole(std::int32_t x, std::int32_t y);
  // n ticks of steps that do not look at the stop flag: all of them are given, also
  // after a stop.
  void TickPastStops(std::int64_t n);
  // CountRegionPixels from the row counts the mask was last counted into.
  std::int32_t SumRegionPixels();
  // The unit edges between a black mask pixel and one that is not, or the mask's
  // border: the length of all contours a whole-image run traces, about.
  std::int64_t CountFigureEdges() const;
  // One reduction by a method other than 3, clean-up included.
  std::int32_t ReduceOnce(ContourPoints& points, bool closed, ReductionMethod method);
  void SimplifyOnce(ContourPoints& points, bool closed, std::int32_t& upper,
                    std::vector<std::uint8_t>& removed, ReductionMethod method);
  std::int32_t CleanUp(ContourPoints& points, bool closed, std::int32_t upper);
  struct ProgressGate {
    std::int32_t next = 0;
    int shown = 0;
  };
  // Runs step(c) for c = first..upper, a tick after each, and moves the bar after the
  // step that reaches the gate; defined where the reduction uses it.
  template <typename Step>
  void RunReductionSteps(std::int32_t first, std::int32_t upper, Step step);
  // The pair search's farthest distance: the image's diagonal.
  float PairLimit() const;
  // The ticks and bar moves of the pair search's second sweep over eu existing and nu
  // new positions that found the pair (i0, j0), (0, 0) for none.
  void ShowSweptPairs(std::int32_t eu, std::int32_t nu, std::int32_t i0, std::int32_t j0);
  // ConnectToPrevious on the Connected run's path.
  void ConnectPath(ConnectedPath& path, ContourPoints& newer);

  RunControl& run_;
  StatusLine& status_;
  PictureView& picture_;
  TitlesView& titles_;

  const core::RgbImage* image_ = nullptr;
  std::int32_t backColor_ = 0xFFFFFF;
  std::uint32_t backRgb_ = 0xFFFFFF;  // the colour as 0xRRGGBB
  bool backIsPlain_ = true;

  // The mask as built from the image; the whole-image run paints on it.
  core::Mask mask_;
  std::int32_t maskW_ = 0;
  std::int32_t maskH_ = 0;
  // The black pixels of each mask row, counted when the mask was prepared.
  std::vector<std::int32_t> blackPerRow_;
  MaskSurvey survey_;
  bool exactBackground_ = false;

  // What the last trace followed; a click's contour and each figure of a whole-image
  // run are traced here before they join a contour set.
  ContourPoints traced_ = EmptyContourPoints();
  std::vector<ContourPoint> currentMoves_;
  std::vector<ContourPoint> floodStack_;
  // Scratch kept between runs, so that a run reuses memory it has already touched.
  ContourPoints collected_;
  PackedPoints packed_;
  std::vector<std::uint8_t> removed_;
  ConnectedPath connectedPath_;
};

}  // namespace morvane::engine
