#pragma once

// Pixel paths of the drawing primitives, free of Qt so that any layer could take the
// same pixels. All loops are iterative; coordinates are 32-bit, products 64-bit.

#include <cstdint>
#include <vector>

namespace morvane::gui::raster {

struct Px {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Px&, const Px&) = default;
};

// The pixels of a one-pixel line from a to b in drawing order. The end pixel is left
// out unless includeEnd; a line of length zero is then empty. Major-axis steps, and at
// an exact tie the minor coordinate stays where it was (so a line and its reverse can
// differ by a pixel, as on the old platform).
void LinePath(Px a, Px b, bool includeEnd, std::vector<Px>& out);

// The outline of a box with a and b as opposite corners, both corners inside, each
// pixel once, in drawing order from the top left corner clockwise.
void BoxPath(Px a, Px b, std::vector<Px>& out);

// The outline of an axis-aligned ellipse around c with whole radii (midpoint method:
// 8-connected, symmetric, 2r+1 pixels across), each pixel once, ordered by angle
// counter-clockwise from three o'clock. Radii are clamped to 0 .. kMaxRadius.
inline constexpr std::int32_t kMaxRadius = 1 << 15;
void EllipsePath(Px c, std::int32_t rx, std::int32_t ry, std::vector<Px>& out);

// For each row offset dy in -ry .. ry, the half-width of the ellipse's interior: the
// pixels c.x - w .. c.x + w of that row lie strictly inside the outline (w < 0: none).
std::vector<std::int32_t> EllipseInteriorHalfWidths(std::int32_t rx, std::int32_t ry);

// Angle of (x, y) seen from c, counter-clockwise from three o'clock with y growing
// downwards, in [0, 2*pi).
double AngleOf(Px c, Px p);

// A brush footprint for pens wider than one pixel: offsets of a disc of the width.
std::vector<Px> PenFootprint(std::int32_t width);

}  // namespace morvane::gui::raster
