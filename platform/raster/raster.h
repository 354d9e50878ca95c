#pragma once

// Pixel paths of the drawing primitives, free of Qt so that any layer could take the
// same pixels. All loops are iterative. Paths are clipped as they are made, so a
// primitive far larger than the surface costs no more than its visible part; the
// pixels that remain are those the whole primitive would have had.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace morvane::raster {

struct Px {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Px&, const Px&) = default;
};

// A pixel of a path and its place along the path from 0 (for dash patterns).
struct PathPixel {
  Px p;
  std::int64_t n = 0;
};

// The pixels kept of a path, both edges included.
struct Clip {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = -1;
  std::int32_t bottom = -1;
  bool Contains(Px p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

// Coordinates are held within this range, the old platform's own.
inline constexpr std::int32_t kMaxCoordinate = 1 << 27;

// A point held within that range.
inline Px HeldPx(Px p) {
  return {std::clamp(p.x, -kMaxCoordinate, kMaxCoordinate),
          std::clamp(p.y, -kMaxCoordinate, kMaxCoordinate)};
}

// A one-pixel line from a to b in drawing order. The end pixel is left out unless
// includeEnd; a line of length zero is then empty. Major-axis steps, and at an exact
// tie the minor coordinate stays where it was (so a line and its reverse can differ,
// as on the old platform).
void LinePath(Px a, Px b, bool includeEnd, const Clip& clip, std::vector<PathPixel>& out);
// The same pixels in the same order, each handed to visit(const PathPixel&) as it is
// found, for a caller that needs no list of them.
template <typename Visit>
void WalkLinePath(Px a, Px b, bool includeEnd, const Clip& clip, Visit&& visit);

// The outline of a box with a and b as opposite corners, both corners inside, each
// pixel once, in drawing order from the top left corner clockwise.
void BoxPath(Px a, Px b, const Clip& clip, std::vector<PathPixel>& out);

// The outline of an axis-aligned ellipse around c with whole radii (midpoint method:
// 8-connected, symmetric, 2r + 1 pixels across), each pixel once, in angle order
// counter-clockwise from three o'clock. Radii are clamped to 0 .. kMaxRadius.
inline constexpr std::int32_t kMaxRadius = 1 << 15;
void EllipsePath(Px c, std::int32_t rx, std::int32_t ry, const Clip& clip, std::vector<PathPixel>& out);

// For each row offset dy in -ry .. ry: the outline's outermost x (the shape spans
// c.x - outer .. c.x + outer) and the interior's half-width (c.x - inner .. c.x + inner
// lie strictly inside; inner < 0: none).
struct EllipseRow {
  std::int32_t outer = 0;
  std::int32_t inner = -1;
};
std::vector<EllipseRow> EllipseRows(std::int32_t rx, std::int32_t ry);

// Angle of p seen from c, counter-clockwise from three o'clock with y growing
// downwards, in [0, 2*pi).
double AngleOf(Px c, Px p);

// A wide pen's footprint, a disc of the width, as one run of offsets per row, for
// every row from the first to the last in order.
struct PenRow {
  std::int32_t dy = 0;
  std::int32_t lo = 0;
  std::int32_t hi = 0;
};
std::vector<PenRow> PenRows(std::int32_t width);

// --- template definitions ---

template <typename Visit>
void WalkLinePath(Px a, Px b, bool includeEnd, const Clip& clip, Visit&& visit) {
  a = HeldPx(a);
  b = HeldPx(b);
  const std::int64_t dx = std::llabs(std::int64_t{b.x} - a.x);
  const std::int64_t dy = std::llabs(std::int64_t{b.y} - a.y);
  const bool xMajor = dx >= dy;
  const std::int64_t major = xMajor ? dx : dy;
  const std::int64_t minor = xMajor ? dy : dx;
  const std::int64_t steps = includeEnd ? major + 1 : major;
  const std::int64_t sMajor = (xMajor ? b.x >= a.x : b.y >= a.y) ? 1 : -1;
  const std::int64_t sMinor = (xMajor ? b.y >= a.y : b.x >= a.x) ? 1 : -1;
  const std::int64_t major0 = xMajor ? a.x : a.y, minor0 = xMajor ? a.y : a.x;
  const std::int64_t lo = xMajor ? clip.left : clip.top, hi = xMajor ? clip.right : clip.bottom;

  // Only the steps whose major coordinate lies within the clip.
  std::int64_t from = 0, to = steps - 1;
  if (sMajor > 0) {
    from = std::max(from, lo - major0);
    to = std::min(to, hi - major0);
  } else {
    from = std::max(from, major0 - hi);
    to = std::min(to, major0 - lo);
  }
  if (from > to) return;
  // The minor offset after i steps and the decision value there, as the step-by-step
  // walk from the start would have them: k = floor((2 m i + M - 1) / 2M).
  // From the start it is 0, which spares the division for every line the clip leaves
  // whole (a clipped start has major > 0).
  std::int64_t k = from == 0 ? 0 : (2 * minor * from + major - 1) / (2 * major);
  std::int64_t err = 2 * minor * (from + 1) - major - 2 * major * k;
  for (std::int64_t i = from; i <= to; ++i) {
    const std::int64_t ma = major0 + sMajor * i, mi = minor0 + sMinor * k;
    const Px p = xMajor ? Px{static_cast<std::int32_t>(ma), static_cast<std::int32_t>(mi)}
                        : Px{static_cast<std::int32_t>(mi), static_cast<std::int32_t>(ma)};
    if (clip.Contains(p)) visit(PathPixel{p, i});
    if (err > 0) {
      ++k;
      err -= 2 * major;
    }
    err += 2 * minor;
  }
}

}  // namespace morvane::raster
