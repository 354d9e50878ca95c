#include "platform/raster/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace morvane::raster {

void LinePath(Px a, Px b, bool includeEnd, const Clip& clip, std::vector<PathPixel>& out) {
  WalkLinePath(a, b, includeEnd, clip, [&out](const PathPixel& p) { out.push_back(p); });
}

void BoxPath(Px a, Px b, const Clip& clip, std::vector<PathPixel>& out) {
  a = HeldPx(a);
  b = HeldPx(b);
  const std::int32_t l = std::min(a.x, b.x), r = std::max(a.x, b.x);
  const std::int32_t t = std::min(a.y, b.y), bo = std::max(a.y, b.y);
  if (l == r || t == bo) {
    LinePath({l, t}, {r, bo}, true, clip, out);
    return;
  }
  const std::int64_t w = std::int64_t{r} - l, h = std::int64_t{bo} - t;
  // One side of the box: the pixels v0 .. v1 along it at the fixed coordinate, walked
  // forwards or backwards, numbered on from base.
  auto side = [&](bool horizontal, std::int32_t fixed, std::int32_t v0, std::int32_t v1, bool forward,
                  std::int64_t base) {
    const std::int32_t fixLo = horizontal ? clip.top : clip.left,
                       fixHi = horizontal ? clip.bottom : clip.right;
    if (fixed < fixLo || fixed > fixHi) return;
    const std::int32_t from = std::max(v0, horizontal ? clip.left : clip.top);
    const std::int32_t to = std::min(v1, horizontal ? clip.right : clip.bottom);
    for (std::int32_t k = 0; k <= to - from; ++k) {
      const std::int32_t v = forward ? from + k : to - k;
      const Px p = horizontal ? Px{v, fixed} : Px{fixed, v};
      out.push_back({p, base + (forward ? v - v0 : v1 - v)});
    }
  };
  auto row = [&](std::int32_t y, std::int32_t x0, std::int32_t x1, bool forward, std::int64_t base) {
    side(true, y, x0, x1, forward, base);
  };
  auto column = [&](std::int32_t x, std::int32_t y0, std::int32_t y1, bool forward, std::int64_t base) {
    side(false, x, y0, y1, forward, base);
  };
  row(t, l, r, true, 0);                           // top, left to right
  column(r, t + 1, bo, true, w + 1);               // right, downwards
  row(bo, l, r - 1, false, w + h + 1);             // bottom, right to left
  column(l, t + 1, bo - 1, false, 2 * w + h + 1);  // left, upwards
}

namespace {

// First-quadrant points (x >= 0, y >= 0) of the midpoint ellipse, from (0, ry) to (rx, 0).
std::vector<Px> QuadrantPoints(std::int32_t rx, std::int32_t ry) {
  std::vector<Px> q;
  if (rx == 0 || ry == 0) {
    for (std::int32_t x = 0; x <= rx; ++x) q.push_back({x, 0});
    for (std::int32_t y = 1; y <= ry; ++y) q.push_back({0, y});
    return q;
  }
  // Decision values scaled by 4 keep them whole: radii up to 2^15 keep r^4 * 4 in 63 bits.
  const std::int64_t a2 = std::int64_t{rx} * rx, b2 = std::int64_t{ry} * ry;
  std::int64_t x = 0, y = ry;
  std::int64_t dx = 0, dy = 2 * a2 * y;
  std::int64_t p = 4 * b2 - 4 * a2 * ry + a2;
  while (dx < dy) {
    q.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    ++x;
    dx += 2 * b2;
    if (p < 0) {
      p += 4 * (dx + b2);
    } else {
      --y;
      dy -= 2 * a2;
      p += 4 * (dx - dy + b2);
    }
  }
  // Region 2: 4 * (b2 (x + 1/2)^2 + a2 (y - 1)^2 - a2 b2), kept whole.
  p = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2;
  while (y >= 0) {
    q.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    --y;
    dy -= 2 * a2;
    if (p > 0) {
      p += 4 * (a2 - dy);
    } else {
      ++x;
      dx += 2 * b2;
      p += 4 * (dx - dy + a2);
    }
  }
  return q;
}

}  // namespace

void EllipsePath(Px c, std::int32_t rx, std::int32_t ry, const Clip& clip, std::vector<PathPixel>& out) {
  rx = std::clamp(rx, 0, kMaxRadius);
  ry = std::clamp(ry, 0, kMaxRadius);
  const std::vector<Px> q = QuadrantPoints(rx, ry);
  std::int64_t n = 0;
  auto emit = [&](std::int32_t x, std::int32_t y) {
    const Px p{c.x + x, c.y + y};
    if (clip.Contains(p)) out.push_back({p, n});
    ++n;
  };
  if (rx == 0 || ry == 0) {  // a line through the centre, from its right or lower end
    for (std::int32_t x = rx; x >= -rx; --x) emit(x, 0);
    for (std::int32_t y = -ry; y <= ry; ++y) {
      if (y != 0) emit(0, y);
    }
    return;
  }
  // The quadrant runs from (0, ry) to (rx, 0) with the angle falling all the way, so
  // mirrored four ways it gives the outline in angle order; each axis point once.
  for (auto it = q.rbegin(); it != q.rend(); ++it) {
    if (it->x != 0) emit(it->x, -it->y);  // upper right, from three o'clock
  }
  for (const Px& p : q) {
    if (p.y != 0) emit(-p.x, -p.y);  // upper left
  }
  for (auto it = q.rbegin(); it != q.rend(); ++it) {
    if (it->x != 0) emit(-it->x, it->y);  // lower left
  }
  for (const Px& p : q) {
    if (p.y != 0) emit(p.x, p.y);  // lower right
  }
}

std::vector<EllipseRow> EllipseRows(std::int32_t rx, std::int32_t ry) {
  rx = std::clamp(rx, 0, kMaxRadius);
  ry = std::clamp(ry, 0, kMaxRadius);
  // Per row of the quadrant: the outline's innermost and outermost x.
  std::vector<std::int32_t> innermost(static_cast<std::size_t>(ry) + 1, rx + 1);
  std::vector<std::int32_t> outermost(static_cast<std::size_t>(ry) + 1, 0);
  for (const Px& q : QuadrantPoints(rx, ry)) {
    const auto i = static_cast<std::size_t>(q.y);
    innermost[i] = std::min(innermost[i], q.x);
    outermost[i] = std::max(outermost[i], q.x);
  }
  std::vector<EllipseRow> rows(2 * static_cast<std::size_t>(ry) + 1);
  for (std::int32_t dy = -ry; dy <= ry; ++dy) {
    const auto i = static_cast<std::size_t>(std::abs(dy));
    rows[static_cast<std::size_t>(dy + ry)] = {outermost[i], innermost[i] - 1};
  }
  return rows;
}

double AngleOf(Px c, Px p) {
  if (p == c) return 0.0;
  double a = std::atan2(-(static_cast<double>(p.y) - c.y), static_cast<double>(p.x) - c.x);
  if (a < 0) a += 2 * std::numbers::pi;
  return a;
}

std::vector<PenRow> PenRows(std::int32_t width) {
  if (width <= 1) return {{0, 0, 0}};
  // A disc of diameter width around the pixel (around its lower right corner for an
  // even width): offsets -(w-1)/2 .. w/2 whose distance from the centre is within w/2.
  const double centre = (width % 2 == 0) ? 0.5 : 0.0;
  const double r = width / 2.0;
  const std::int32_t first = -(width - 1) / 2, last = width / 2;
  std::vector<PenRow> rows;
  for (std::int32_t dy = first; dy <= last; ++dy) {
    const double ey = dy - centre;
    if (ey * ey > r * r) continue;
    const double h = std::sqrt(r * r - ey * ey);
    const auto lo = std::max(first, static_cast<std::int32_t>(std::ceil(centre - h)));
    const auto hi = std::min(last, static_cast<std::int32_t>(std::floor(centre + h)));
    if (lo <= hi) rows.push_back({dy, lo, hi});
  }
  return rows;
}

}  // namespace morvane::raster
