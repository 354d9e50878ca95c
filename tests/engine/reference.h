#pragma once

// A slow, literal model of the tracing engine, written step by step as the behaviour
// is described (a pixel read per test, a raster scan from the top left for every
// figure, a scratch picture redrawn for every line-of-sight test, arrays grown one
// element at a time), with the same mended faults. The fast engine must give the
// same point arrays.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/contour_points.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::engine::reference {

struct Model {
  // Inputs.
  core::RgbImage image;
  std::int32_t backColor = 0xFFFFFF;  // OLE colour
  float approxMethod = 3;
  bool connected = false;
  // Stops the run when the tick counter reaches this (0 = never).
  std::int64_t stopAtTick = 0;
  // The rules before the tracing mends: the way back never tried, the contour closed at
  // the first return to its start, a traced figure painted 4-connected.
  bool previousRules = false;
  // Off: staircase corners are left as traced, so that a contour can be checked
  // against the boundary pixels of its figure.
  bool squareCorners = true;

  // State.
  ContourPoints points = EmptyContourPoints();
  std::int32_t contourCount = 0;
  std::vector<std::string> titles;
  std::int64_t ticks = 0;
  bool stopRequested = false;

  // How the last trace ended: closed by its rule, and whether its next step from the
  // start would have been its first step again (always so under the mended rule).
  struct TraceEnd {
    bool closed = false;
    bool repeatsFirstStep = false;
  };
  TraceEnd lastTrace;
  // Every trace of the whole-image run that found a start, unreduced, in run order.
  struct Traced {
    int pass = 0;
    ContourPoints points;
    TraceEnd end;
  };
  std::vector<Traced> traced;

  // Picture boxes: the mask and the scratch picture, colours as bytes (0 black,
  // 255 white, 1 red); reads outside give kInvalid.
  std::vector<std::uint8_t> mask;
  std::int32_t maskW = 0, maskH = 0;
};

void PrepareMask(Model& m);
bool TraceContourAt(Model& m, std::int32_t x, std::int32_t y, bool* deadEnd = nullptr);
std::int32_t SimplifyContour(Model& m, ContourPoints& points, bool closed);
void StartAtNearestOrigin(Model& m);
// AddContourAtPoint without Connected; returns the status text ("" when added).
std::string AddContourAtPoint(Model& m, std::int32_t px, std::int32_t py);
std::int32_t ConnectToPrevious(Model& m, ContourPoints& existing, ContourPoints& newer);
void CreateWholeImage(Model& m);

}  // namespace morvane::engine::reference
