#pragma once

// What the bar looks like, as rectangles of resolved colours in the bar's own pixels:
// the solid and dashed bar, the junctions where other bars cross it, and the cut in a
// sunken container border. No widgets; the control fills the rectangles.

#include <array>
#include <cstdint>
#include <vector>

#include "controls/trellan/trellan_layout.h"

namespace morvane::trellan {

using Rgb = std::uint32_t;  // 0xRRGGBB, already resolved (no system colours)

// BackColor, BeginLine1Color, BeginLine2Color, FinishLine1Color, FinishLine2Color.
using BarColors = std::array<Rgb, 5>;
enum BarColorIndex { kBack = 0, kBegin1 = 1, kBegin2 = 2, kFinish1 = 3, kFinish2 = 4 };

struct Piece {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  Rgb color = 0;
  bool operator==(const Piece&) const = default;
};

// The pieces of a run of `length` pixels from (x, y), along y when vertical, else
// along x: dashes of `dash` pixels `thickness` across, `gap` apart. A dash or a gap of
// 0 makes one solid piece over the whole length.
std::vector<Piece> DashedRun(std::int32_t x, std::int32_t y, std::int32_t length, std::int32_t thickness,
                             std::int32_t dash, std::int32_t gap, Rgb color, bool vertical);

// A solid bar of width x height pixels: the background, then its edge lines.
std::vector<Piece> SolidBarPieces(std::int32_t width, std::int32_t height, bool vertical,
                                  const BarColors& colors);

// The colour that dashed mode leaves transparent: the first of red, green, blue,
// yellow, magenta and cyan that none of the bar's colours equals.
Rgb DashKeyColor(const BarColors& colors);
// A dashed bar: only the drawn dashes; everything else is transparent.
std::vector<Piece> DashedBarPieces(std::int32_t width, std::int32_t height, bool vertical,
                                   const BarColors& colors, std::int32_t dashPixels);

// Where another bar meets this one, in this bar's pixels: an edge column (vertical bar)
// or row (horizontal bar) and the offset along this bar where the other begins.
struct JunctionSpot {
  std::int32_t edge = 0;
  std::int32_t offset = 0;
  bool operator==(const JunctionSpot&) const = default;
};
// Boxes in pixels of the form; `sameContainer` when both bars lie on one container.
std::vector<JunctionSpot> FindJunctions(std::int32_t mode, bool vertical, const Box& me,
                                        const Box& other, bool sameContainer);
// The pieces that carry the other bar's lines (`thickness` pixels apart) through this
// bar's edge line and the line beside it.
std::vector<Piece> JunctionPieces(const JunctionSpot& spot, bool vertical, std::int32_t thickness,
                                  const BarColors& otherColors);

// The cut in a sunken border (container of width x height pixels) where the bar (in
// the container's pixels, from its outer corner) meets it.
std::vector<Piece> BorderCutPieces(const Box& barPixels, bool vertical, std::int32_t containerWidth,
                                   std::int32_t containerHeight, const BarColors& colors);

}  // namespace morvane::trellan
