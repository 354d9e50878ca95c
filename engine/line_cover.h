#pragma once

#include <cstdint>

#include "common/contour_point.h"

namespace morvane::engine {

// Whether the one-pixel line that a picture box draws from `from` to `to` covers a
// pixel, answered without drawing. The line is the platform's: one pixel per step
// along the longer axis (x when both are as long), the end pixel left out (a line of
// length zero draws nothing), and on the shorter axis the offset t * d / D rounded,
// an exact half staying towards `from`.
inline bool LineCovers(const common::ContourPoint& from, const common::ContourPoint& to,
                       const common::ContourPoint& pixel) {
  __extension__ using Wide = __int128;
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const std::int64_t ax = dx < 0 ? -dx : dx;
  const std::int64_t ay = dy < 0 ? -dy : dy;
  const bool xMajor = ax >= ay;
  const std::int64_t major = xMajor ? ax : ay;
  const std::int64_t minor = xMajor ? ay : ax;
  const std::int64_t px = std::int64_t{pixel.x} - from.x;
  const std::int64_t py = std::int64_t{pixel.y} - from.y;
  const std::int64_t pMajor = xMajor ? px : py;
  const std::int64_t pMinor = xMajor ? py : px;
  const bool majorBack = (xMajor ? dx : dy) < 0;
  const bool minorBack = (xMajor ? dy : dx) < 0;
  const std::int64_t t = majorBack ? -pMajor : pMajor;
  if (t < 0 || t >= major) {
    return false;
  }
  // round(t * minor / major), halves down: (2 t minor + major - 1) div (2 major). It fits
  // 64 bits for every coordinate an image can have.
  const Wide offset = major < (std::int64_t{1} << 30)
                          ? Wide{(2 * t * minor + major - 1) / (2 * major)}
                          : (Wide{2} * t * minor + major - 1) / (Wide{2} * major);
  return (minorBack ? -offset : offset) == pMinor;
}

}  // namespace morvane::engine
