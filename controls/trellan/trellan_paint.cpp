#include "controls/trellan/trellan_paint.h"

#include <algorithm>

namespace morvane::trellan {

namespace {

Piece Along(std::int32_t x, std::int32_t y, std::int32_t along, std::int32_t across, Rgb color,
            bool vertical) {
  return vertical ? Piece{x, y, across, along, color} : Piece{x, y, along, across, color};
}

}  // namespace

std::vector<Piece> DashedRun(std::int32_t x, std::int32_t y, std::int32_t length, std::int32_t thickness,
                             std::int32_t dash, std::int32_t gap, Rgb color, bool vertical) {
  std::vector<Piece> pieces;
  if (length <= 0 || thickness <= 0) return pieces;
  if (dash <= 0 || gap <= 0) {
    pieces.push_back(Along(x, y, length, thickness, color, vertical));
    return pieces;
  }
  dash = std::min(dash, length);
  const std::int32_t start = vertical ? y : x;
  // At least one pixel per step, so a run always ends.
  const std::int32_t step = std::max(dash + gap, 1);
  for (std::int64_t p = start; p <= static_cast<std::int64_t>(start) + length - dash; p += step) {
    const auto at = static_cast<std::int32_t>(p);
    pieces.push_back(vertical ? Along(x, at, dash, thickness, color, true)
                              : Along(at, y, dash, thickness, color, false));
  }
  return pieces;
}

std::vector<Piece> SolidBarPieces(std::int32_t width, std::int32_t height, bool vertical,
                                  const BarColors& colors) {
  std::vector<Piece> pieces;
  if (width <= 0 || height <= 0) return pieces;
  pieces.push_back({0, 0, width, height, colors[kBack]});
  const std::int32_t thickness = vertical ? width : height;
  const std::int32_t length = vertical ? height : width;
  auto line = [&](std::int32_t at, Rgb color) {
    pieces.push_back(vertical ? Piece{at, 0, 1, length, color} : Piece{0, at, length, 1, color});
  };
  line(0, colors[kBegin1]);
  if (thickness >= 2) line(1, colors[kBegin2]);
  if (thickness >= 4) line(thickness - 2, colors[kFinish1]);
  if (thickness >= 3) line(thickness - 1, colors[kFinish2]);
  return pieces;
}

Rgb DashKeyColor(const BarColors& colors) {
  static constexpr std::array<Rgb, 6> kKeys{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};
  for (Rgb key : kKeys) {
    if (std::find(colors.begin(), colors.end(), key) == colors.end()) return key;
  }
  return kKeys.back();  // five colours cannot take all six
}

std::vector<Piece> DashedBarPieces(std::int32_t width, std::int32_t height, bool vertical,
                                   const BarColors& colors, std::int32_t dashPixels) {
  std::vector<Piece> pieces;
  const std::int32_t thickness = vertical ? width : height;
  const std::int32_t length = vertical ? height : width;
  auto run = [&](std::int32_t at, std::int32_t across, Rgb color) {
    auto more = vertical ? DashedRun(at, 0, length, across, dashPixels, dashPixels, color, true)
                         : DashedRun(0, at, length, across, dashPixels, dashPixels, color, false);
    pieces.insert(pieces.end(), more.begin(), more.end());
  };
  if (thickness < 1) return pieces;
  run(0, 1, colors[kBegin1]);
  if (thickness >= 2) run(1, 1, colors[kBegin2]);
  if (thickness >= 5) run(2, thickness - 4, colors[kBack]);
  if (thickness >= 4) run(thickness - 2, 1, colors[kFinish1]);
  if (thickness >= 3) run(thickness - 1, 1, colors[kFinish2]);
  return pieces;
}

std::vector<JunctionSpot> FindJunctions(std::int32_t mode, bool vertical, const Box& me,
                                        const Box& other, bool sameContainer) {
  std::vector<JunctionSpot> spots;
  // Work as for a vertical bar; a horizontal one is the same with the axes exchanged.
  const Box m = vertical ? me : Box{me.top, me.left, me.height, me.width};
  const Box o = vertical ? other : Box{other.top, other.left, other.height, other.width};
  const bool otherStartsInside = m.top <= o.top && o.top <= m.top + m.height;
  if ((mode == 2 && sameContainer) || mode == 3) {
    if (otherStartsInside && o.left <= m.left && m.left <= o.left + o.width)
      spots.push_back({0, o.top - m.top});
    if (otherStartsInside && o.left <= m.left + m.width && m.left + m.width <= o.left + o.width) {
      spots.push_back({m.width - 1, o.top - m.top});
    }
  }
  if (mode == 1 && !sameContainer && otherStartsInside) {
    if (o.left + o.width == m.left) spots.push_back({0, o.top - m.top});
    else if (o.left == m.left + m.width) spots.push_back({m.width - 1, o.top - m.top});
  }
  return spots;
}

std::vector<Piece> JunctionPieces(const JunctionSpot& spot, bool vertical, std::int32_t thickness,
                                  const BarColors& otherColors) {
  std::vector<Piece> pieces;
  auto column = [&](std::int32_t edge) {
    auto at = [&](std::int32_t along, std::int32_t length, Rgb color) {
      if (length <= 0) return;
      pieces.push_back(vertical ? Piece{edge, spot.offset + along, 1, length, color}
                                : Piece{spot.offset + along, edge, length, 1, color});
    };
    at(0, 1, otherColors[kBegin1]);
    at(1, 1, otherColors[kBegin2]);
    at(thickness - 2, 1, otherColors[kFinish1]);
    at(thickness - 1, 1, otherColors[kFinish2]);
    at(2, thickness - 4, otherColors[kBack]);  // the line stops short of its end point
  };
  column(spot.edge);
  column(spot.edge < 1 ? spot.edge + 1 : spot.edge - 1);
  return pieces;
}

std::vector<Piece> BorderCutPieces(const Box& bar, bool vertical, std::int32_t containerWidth,
                                   std::int32_t containerHeight, const BarColors& colors) {
  std::vector<Piece> pieces;
  // Worked out for a vertical bar meeting the top and bottom border rows.
  const std::int32_t start = vertical ? bar.left : bar.top;
  const std::int32_t thickness = vertical ? bar.width : bar.height;
  const std::int32_t far = (vertical ? containerHeight : containerWidth) - 1;
  const std::int32_t a0 = start + 1;              // the bar's second line
  const std::int32_t a1 = start + thickness - 3;  // the column before its second-last line
  if (a1 < a0) return pieces;
  auto run = [&](std::int32_t row, std::int32_t from, std::int32_t to, Rgb color) {
    if (to < from) return;
    pieces.push_back(vertical ? Piece{from, row, to - from + 1, 1, color}
                              : Piece{row, from, 1, to - from + 1, color});
  };
  run(0, a0, a1, colors[kBack]);
  run(1, a0 + 1, a1, colors[kBack]);
  run(far, a0 + 1, a1, colors[kBack]);
  run(far - 1, a0 + 1, a1, colors[kBack]);
  for (std::int32_t row : {1, far - 1}) {
    run(row, a0, a0, colors[kBegin2]);
    run(row, a1 + 1, a1 + 1, colors[kFinish1]);
  }
  return pieces;
}

}  // namespace morvane::trellan
