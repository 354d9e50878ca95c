#pragma once

#include <cstdint>

#include "common/contour_point.h"

namespace morvane::engine {

// The pixels of a straight line as the scratch picture draws it, from `from` to `to`
// with both ends: one pixel per step along the longer axis (x when the two are equal);
// on the shorter axis the offset t * d / D is rounded, halves away from `from`.
// ForEachLinePixel walks them; LineCovers answers for one pixel without walking, and
// gives the same answer for every pixel.

__extension__ using LineWide = __int128;

inline bool LineCovers(const common::ContourPoint& from, const common::ContourPoint& to,
                       const common::ContourPoint& pixel) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const std::int64_t ax = dx < 0 ? -dx : dx;
  const std::int64_t ay = dy < 0 ? -dy : dy;
  const std::int64_t px = std::int64_t{pixel.x} - from.x;
  const std::int64_t py = std::int64_t{pixel.y} - from.y;
  if (ax == 0 && ay == 0) {
    return px == 0 && py == 0;
  }
  const bool xMajor = ax >= ay;
  const std::int64_t major = xMajor ? ax : ay;
  const std::int64_t minor = xMajor ? ay : ax;
  const std::int64_t dMajor = xMajor ? dx : dy;
  const std::int64_t dMinor = xMajor ? dy : dx;
  const std::int64_t pMajor = xMajor ? px : py;
  const std::int64_t pMinor = xMajor ? py : px;
  const std::int64_t t = dMajor < 0 ? -pMajor : pMajor;
  if (t < 0 || t > major) {
    return false;
  }
  // 2 t minor + major fits 64 bits for every coordinate an image can have.
  const LineWide offset = major < (std::int64_t{1} << 30)
                              ? LineWide{(2 * t * minor + major) / (2 * major)}
                              : (LineWide{2} * t * minor + major) / (LineWide{2} * major);
  const LineWide expected = dMinor < 0 ? -offset : offset;
  return expected == pMinor;
}

template <typename Visit>
void ForEachLinePixel(const common::ContourPoint& from, const common::ContourPoint& to,
                      Visit visit) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const std::int64_t ax = dx < 0 ? -dx : dx;
  const std::int64_t ay = dy < 0 ? -dy : dy;
  const std::int64_t sx = dx < 0 ? -1 : 1;
  const std::int64_t sy = dy < 0 ? -1 : 1;
  const bool xMajor = ax >= ay;
  const std::int64_t major = xMajor ? ax : ay;
  const std::int64_t minor = xMajor ? ay : ax;
  // Error term: offset = (2 t minor + major) div (2 major), kept as a running remainder.
  std::int64_t x = from.x;
  std::int64_t y = from.y;
  LineWide remainder = major;  // 2 t minor + major - offset * 2 major
  for (std::int64_t t = 0;; ++t) {
    visit(x, y);
    if (t == major) {
      break;
    }
    if (xMajor) {
      x += sx;
    } else {
      y += sy;
    }
    remainder += LineWide{2} * minor;
    if (remainder >= LineWide{2} * major) {
      remainder -= LineWide{2} * major;
      if (xMajor) {
        y += sy;
      } else {
        x += sx;
      }
    }
  }
}

}  // namespace morvane::engine
