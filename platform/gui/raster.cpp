#include "platform/gui/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace morvane::gui::raster {

void LinePath(Px a, Px b, bool includeEnd, std::vector<Px>& out) {
  const std::int64_t dx = std::llabs(std::int64_t{b.x} - a.x);
  const std::int64_t dy = std::llabs(std::int64_t{b.y} - a.y);
  const std::int32_t sx = b.x >= a.x ? 1 : -1;
  const std::int32_t sy = b.y >= a.y ? 1 : -1;
  const bool xMajor = dx >= dy;
  const std::int64_t major = xMajor ? dx : dy;
  const std::int64_t minor = xMajor ? dy : dx;
  const std::int64_t steps = includeEnd ? major + 1 : major;
  out.reserve(out.size() + static_cast<std::size_t>(steps));
  Px p = a;
  // err tracks 2*(minor*i) - major*(2*k + 1) for the minor offset k reached so far.
  std::int64_t err = 2 * minor - major;
  for (std::int64_t i = 0; i < steps; ++i) {
    out.push_back(p);
    if (err > 0) {
      if (xMajor) p.y += sy; else p.x += sx;
      err -= 2 * major;
    }
    err += 2 * minor;
    if (xMajor) p.x += sx; else p.y += sy;
  }
}

void BoxPath(Px a, Px b, std::vector<Px>& out) {
  const std::int32_t l = std::min(a.x, b.x), r = std::max(a.x, b.x);
  const std::int32_t t = std::min(a.y, b.y), bo = std::max(a.y, b.y);
  if (l == r || t == bo) {
    LinePath({l, t}, {r, bo}, true, out);
    return;
  }
  for (std::int32_t x = l; x <= r; ++x) out.push_back({x, t});
  for (std::int32_t y = t + 1; y <= bo; ++y) out.push_back({r, y});
  for (std::int32_t x = r - 1; x >= l; --x) out.push_back({x, bo});
  for (std::int32_t y = bo - 1; y > t; --y) out.push_back({l, y});
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

void EllipsePath(Px c, std::int32_t rx, std::int32_t ry, std::vector<Px>& out) {
  rx = std::clamp(rx, 0, kMaxRadius);
  ry = std::clamp(ry, 0, kMaxRadius);
  std::vector<Px> pts;
  for (const Px& q : QuadrantPoints(rx, ry)) {
    pts.push_back({q.x, q.y});
    pts.push_back({-q.x, q.y});
    pts.push_back({q.x, -q.y});
    pts.push_back({-q.x, -q.y});
  }
  auto key = [](const Px& p) { return std::pair{p.y, p.x}; };
  std::sort(pts.begin(), pts.end(), [&](const Px& l, const Px& r) { return key(l) < key(r); });
  pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
  std::vector<std::pair<double, Px>> byAngle;
  byAngle.reserve(pts.size());
  for (const Px& p : pts) byAngle.push_back({AngleOf({0, 0}, p), p});
  std::stable_sort(byAngle.begin(), byAngle.end(),
                   [](const auto& l, const auto& r) { return l.first < r.first; });
  out.reserve(out.size() + byAngle.size());
  for (const auto& [angle, p] : byAngle) out.push_back({c.x + p.x, c.y + p.y});
}

std::vector<std::int32_t> EllipseInteriorHalfWidths(std::int32_t rx, std::int32_t ry) {
  rx = std::clamp(rx, 0, kMaxRadius);
  ry = std::clamp(ry, 0, kMaxRadius);
  // Innermost outline x of each row; the interior stops one short of it.
  std::vector<std::int32_t> inner(static_cast<std::size_t>(ry) + 1, rx + 1);
  for (const Px& q : QuadrantPoints(rx, ry)) {
    auto& v = inner[static_cast<std::size_t>(q.y)];
    v = std::min(v, q.x);
  }
  std::vector<std::int32_t> half(2 * static_cast<std::size_t>(ry) + 1);
  for (std::int32_t dy = -ry; dy <= ry; ++dy) {
    half[static_cast<std::size_t>(dy + ry)] = inner[static_cast<std::size_t>(std::abs(dy))] - 1;
  }
  return half;
}

double AngleOf(Px c, Px p) {
  if (p == c) return 0.0;
  double a = std::atan2(-(static_cast<double>(p.y) - c.y), static_cast<double>(p.x) - c.x);
  if (a < 0) a += 2 * std::numbers::pi;
  return a;
}

std::vector<Px> PenFootprint(std::int32_t width) {
  if (width <= 1) return {{0, 0}};
  const double centre = (width % 2 == 0) ? 0.5 : 0.0;
  const double r2 = (width / 2.0) * (width / 2.0);
  std::vector<Px> pts;
  for (std::int32_t dy = -(width - 1) / 2; dy <= width / 2; ++dy) {
    for (std::int32_t dx = -(width - 1) / 2; dx <= width / 2; ++dx) {
      const double ex = dx - centre, ey = dy - centre;
      if (ex * ex + ey * ey <= r2) pts.push_back({dx, dy});
    }
  }
  return pts;
}

}  // namespace morvane::gui::raster
