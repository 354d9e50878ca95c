#pragma once

#include <algorithm>
#include <cstdint>

#include "common/contour_point.h"

namespace morvane::engine {

// Whether the one-pixel line that a picture box draws from `from` to `to` covers a
// pixel, answered without drawing. The line is the platform's: its ends held within
// +-2^27 as the old platform held coordinates, one pixel per step along the longer
// axis (x when both are as long), the end pixel left out (a line of length zero draws
// nothing), and on the shorter axis the offset t * d / D rounded, an exact half
// staying towards `from`.
inline constexpr std::int32_t kHeldCoordinate = 1 << 27;

inline bool LineCovers(common::ContourPoint from, common::ContourPoint to,
                       const common::ContourPoint& pixel) {
  const auto hold = [](common::ContourPoint p) {
    return common::ContourPoint{std::clamp(p.x, -kHeldCoordinate, kHeldCoordinate),
                                std::clamp(p.y, -kHeldCoordinate, kHeldCoordinate)};
  };
  from = hold(from);
  to = hold(to);
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
  const std::int64_t t = (xMajor ? dx : dy) < 0 ? -pMajor : pMajor;
  if (t < 0 || t >= major) {
    return false;
  }
  // The line's offset there is round(t * minor / major), halves down, which lies in
  // [0, minor]. Asked whether it equals the pixel's offset m, no division is needed:
  // m * 2 major <= 2 t minor + major - 1 < (m + 1) * 2 major. With held ends and m
  // within [0, minor] every product fits 64 bits.
  const std::int64_t m = (xMajor ? dy : dx) < 0 ? -pMinor : pMinor;
  if (m < 0 || m > minor) {
    return false;
  }
  const std::int64_t twice = 2 * major;
  const std::int64_t scaled = 2 * t * minor + major - 1;
  return m * twice <= scaled && scaled < (m + 1) * twice;
}

}  // namespace morvane::engine
