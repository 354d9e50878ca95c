#include "tests/engine/reference.h"

#include <cmath>

#include "common/line_helpers.h"
#include "common/picture_recolor.h"
#include "engine/contour_engine.h"
#include "platform/raster/raster.h"

namespace morvane::engine::reference {

namespace {

constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kWhite = 255;
constexpr std::uint8_t kRed = 1;
constexpr std::uint8_t kInvalid = 77;

std::uint8_t GetMaskPixel(const Model& m, std::int32_t x, std::int32_t y) {
  if (x < 0 || y < 0 || x >= m.maskW || y >= m.maskH) {
    return kInvalid;
  }
  return m.mask[static_cast<std::size_t>(y) * m.maskW + x];
}

void SetMaskPixel(Model& m, std::int32_t x, std::int32_t y, std::uint8_t v) {
  m.mask[static_cast<std::size_t>(y) * m.maskW + x] = v;
}

// The image pixel equals the background colour exactly (outside: never).
bool ImageIsBack(const Model& m, std::int32_t x, std::int32_t y) {
  if (x < 0 || y < 0 || x >= m.image.width || y >= m.image.height) {
    return false;
  }
  if (m.backColor < 0 || m.backColor > 0xFFFFFF) {
    return false;
  }
  const std::uint32_t rgb = m.image.at(x, y) & 0xFFFFFF;
  const std::uint32_t ole = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
  return static_cast<std::int32_t>(ole) == m.backColor;
}

void ShowElapsedTime(Model& m) {
  ++m.ticks;
  if (m.stopAtTick > 0 && m.ticks >= m.stopAtTick) {
    m.stopRequested = true;
  }
}

// A literal flood fill, one pixel at a time with an explicit stack; 4-connected, or
// 8-connected with diagonal.
void Flood(std::vector<std::uint8_t>& pixels, std::int32_t w, std::int32_t h, std::int32_t x,
           std::int32_t y, std::uint8_t from, std::uint8_t to, bool diagonal = false) {
  if (x < 0 || y < 0 || x >= w || y >= h) {
    return;
  }
  std::vector<ContourPoint> stack{{x, y}};
  while (!stack.empty()) {
    const ContourPoint p = stack.back();
    stack.pop_back();
    if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) {
      continue;
    }
    std::uint8_t& v = pixels[static_cast<std::size_t>(p.y) * w + p.x];
    if (v != from) {
      continue;
    }
    v = to;
    stack.push_back({p.x - 1, p.y});
    stack.push_back({p.x + 1, p.y});
    stack.push_back({p.x, p.y - 1});
    stack.push_back({p.x, p.y + 1});
    if (diagonal) {
      stack.push_back({p.x - 1, p.y - 1});
      stack.push_back({p.x + 1, p.y - 1});
      stack.push_back({p.x - 1, p.y + 1});
      stack.push_back({p.x + 1, p.y + 1});
    }
  }
}

bool FindContourStart(Model& m, std::int32_t x, std::int32_t y) {
  const std::int32_t W = m.maskW, H = m.maskH;
  ContourPoint start;
  bool found = false;
  if (GetMaskPixel(m, x, y) == kBlack) {
    if (x == 0 || GetMaskPixel(m, x - 1, y) != kBlack) {
      start = {x, y};
    } else {
      start = {W - 1, y};
      for (std::int32_t c = x; c <= W - 1; ++c) {
        if (GetMaskPixel(m, c, y) != kBlack) {
          start = {c - 1, y};
          break;
        }
      }
    }
    found = true;
  } else {
    for (std::int32_t row = y; row <= H - 1 && !found; ++row) {
      for (std::int32_t col = row == y ? x : 0; col <= W - 1; ++col) {
        if (GetMaskPixel(m, col, row) == kBlack) {
          start = {col, row};
          found = true;
          break;
        }
      }
      ShowElapsedTime(m);
    }
  }
  if (found) {
    m.points = {ContourPoint{}, start};
  }
  return found;
}

// The step from position n: the neighbours rotated so that position s+1 comes first,
// the first of positions 1 to 7 that passes the tests, then (with wayBack) position 8,
// the neighbour at s. Returns j, 0 when none passes.
std::int32_t PickStep(const Model& m, const std::vector<std::vector<ContourPoint>>& moves,
                      std::int32_t n, std::int32_t s, bool wayBack, ContourPoint& c) {
  const std::int32_t W = m.maskW, H = m.maskH;
  ContourPoints list(9);
  GetNeighbours(m.points[n], list);
  RotateContour(list, s + 1, false);
  for (std::int32_t j = 1; j <= (wayBack ? 8 : 7); ++j) {
    c = list[j];
    if (!(0 <= c.y && c.y <= H - 1 && 0 <= c.x && c.x <= W - 1)) continue;
    if (GetMaskPixel(m, c.x, c.y) != kBlack) continue;
    bool seen = false;
    for (const ContourPoint& mv : moves[n]) {
      if (PointsEqual(mv, c)) seen = true;
    }
    if (seen) continue;
    bool edge = c.x == 0 || c.x == W - 1 || c.y == 0 || c.y == H - 1;
    if (!edge) {
      const ContourPoint around[4] = {{c.x - 1, c.y}, {c.x, c.y + 1}, {c.x + 1, c.y}, {c.x, c.y - 1}};
      for (const ContourPoint& q : around) {
        if (GetMaskPixel(m, q.x, q.y) != kBlack) {
          edge = true;
          break;
        }
      }
    }
    if (edge) return j;
  }
  return 0;
}

bool RectifyCorner(Model& m, std::int32_t i) {
  ContourPoints& pts = m.points;
  const std::int32_t n = UpperBound(pts);
  if (n < 3 || i <= 3 || !m.squareCorners) {
    return false;
  }
  std::int32_t idx[4];
  for (std::int32_t k = 1; k <= 3; ++k) {
    idx[k] = (i - k + n) % n;
  }
  for (const StepPattern& pat : StepPatterns()) {
    const ContourPoint p = pts[i];
    if (PointsEqual(pts[idx[1]], {p.x + pat.d1x, p.y + pat.d1y}) &&
        PointsEqual(pts[idx[2]], {p.x + pat.d2x, p.y + pat.d2y}) &&
        PointsEqual(pts[idx[3]], {p.x + pat.d3x, p.y + pat.d3y})) {
      const ContourPoint corner{p.x + pat.cx, p.y + pat.cy};
      if (!ImageIsBack(m, corner.x, corner.y)) {
        pts[idx[2]] = corner;
        pts[idx[1]] = p;
        return true;
      }
      return false;
    }
  }
  return false;
}

}  // namespace

void PrepareMask(Model& m) {
  std::uint8_t first = 0, second = 0, third = 0;
  common::ColorToRGBText(m.backColor, first, second, third);
  const std::int32_t composed = first + second * 256 + third * 65536;
  core::Mask out;
  common::RecolorPicture(m.image, composed, out);
  m.maskW = out.width;
  m.maskH = out.height;
  m.mask = out.bits;
}

bool TraceContourAt(Model& m, std::int32_t x, std::int32_t y, bool* deadEnd) {
  if (deadEnd != nullptr) {
    *deadEnd = false;
  }
  m.lastTrace = {};
  m.points = EmptyContourPoints();
  if (!FindContourStart(m, x, y)) {
    return false;
  }
  const std::int32_t W = m.maskW, H = m.maskH;
  const bool mended = !m.previousRules;
  // moves[n]: the pixels already stepped to from position n.
  std::vector<std::vector<ContourPoint>> moves(2);
  std::int32_t n = 1, s = 1;
  ContourPoint first;
  bool found = true;
  const std::int64_t cap = 8 * std::int64_t{W} * H + 8;
  std::int64_t steps = 0;
  for (;;) {
    ContourPoint c;
    const std::int32_t j = PickStep(m, moves, n, s, mended, c);
    if (j == 0) {
      found = false;
      if (deadEnd != nullptr) *deadEnd = true;
      break;
    }
    // Back at the start and about to take the first step again: closed.
    if (mended && n > 1 && PointsEqual(m.points[n], m.points[1]) && PointsEqual(c, first)) {
      m.lastTrace = {true, true};
      break;
    }
    if (n == 1) first = c;
    moves[n].push_back(c);
    n = n + 1;
    // Grow one element at a time, keeping what is there.
    if (UpperBound(m.points) < n) {
      m.points.resize(n + 1);
      moves.resize(n + 1);
    }
    m.points[n] = c;
    s = ((s + j) % 8 + 4) % 8;
    if (RectifyCorner(m, n)) {
      n = n - 1;
    }
    ShowElapsedTime(m);
    if (m.stopRequested) break;
    if (!mended && PointsEqual(m.points[n], m.points[1])) {
      // The earlier rule closes at the first return to the start; note whether the
      // next step would have been the first one again.
      ContourPoint next;
      m.lastTrace = {true, PickStep(m, moves, n, s, false, next) != 0 && PointsEqual(next, first)};
      break;
    }
    ++steps;
    if (steps >= cap) {
      found = false;
      if (deadEnd != nullptr) *deadEnd = true;
      break;
    }
  }
  if (found && PointsEqual(m.points[n], m.points[1])) {
    m.points.resize(n);
  }
  return found;
}

std::int32_t SimplifyContour(Model& m, ContourPoints& points, bool closed) {
  std::int32_t U = UpperBound(points);
  if (U < 3 || m.stopRequested) {
    return U;
  }
  std::vector<bool> removed(U + 1, false);
  std::int32_t a = 1, b = 2, c = 3;
  const double kThreshold = 0.17453332;
  if (m.approxMethod == 0) {
    float la = 0, lb = 0;
    while (c <= U) {
      bool gone = false;
      const ContourPoint A = points[a], B = points[b], C = points[c];
      const auto sgn = [](std::int64_t v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
      if (B.y >= 0 && sgn(std::int64_t{A.x} - B.x) * sgn(std::int64_t{B.x} - C.x) >= 0 &&
          sgn(std::int64_t{A.y} - B.y) * sgn(std::int64_t{B.y} - C.y) >= 0) {
        std::int64_t dev;
        if (common::LineThroughPoints(A, B, la, lb)) {
          dev = std::llabs(std::int64_t{common::LineValueAt(C.x, la, lb)} - C.y);
        } else {
          dev = std::llabs(std::int64_t{common::LineValueAt(C.y, la, lb)} - C.x);
        }
        if (dev < 2) gone = true;
      }
      if (gone) removed[b] = true;
      else a = b;
      b = c;
      c = c + 1;
      ShowElapsedTime(m);
    }
    if (closed) {
      common::LineThroughPoints(points[a], points[1], la, lb);
      if (std::llabs(std::int64_t{common::LineValueAt(points[U].x, la, lb)} - points[U].y) < 2) {
        removed[1] = true;
      }
    }
  } else if (m.approxMethod == 1) {
    while (c <= U) {
      if (points[b].y >= 0) {
        const double d = std::fabs(SegmentAngle(points, a, b) - SegmentAngle(points, b, c));
        if (static_cast<float>(d) < kThreshold) removed[b] = true;
        else a = b;
      } else {
        a = b;
      }
      b = c;
      c = c + 1;
      ShowElapsedTime(m);
    }
    if (closed) {
      if (std::fabs(SegmentAngle(points, a, U) - SegmentAngle(points, U, 1)) < kThreshold) {
        removed[U] = true;
        U = a;
      }
      std::int32_t k = U;
      for (std::int32_t t = 2; t <= U - 1; ++t) {
        if (!removed[t] && points[t].x > 0) {
          k = t;
          break;
        }
      }
      if (std::fabs(SegmentAngle(points, U, 1) - SegmentAngle(points, 1, k)) < kThreshold) {
        removed[1] = true;
      }
    }
  } else if (m.approxMethod == 2 || m.approxMethod == 2.5f) {
    const std::int32_t W = m.image.width, H = m.image.height;
    std::vector<std::uint8_t> examine(static_cast<std::size_t>(W) * H);
    const auto fore = [&](const ContourPoint& q) {
      return q.x >= 0 && q.y >= 0 && q.x < W && q.y < H &&
             examine[static_cast<std::size_t>(q.y) * W + q.x] == kBlack;
    };
    while (c <= U) {
      // Clear the scratch picture and draw the line from a to c on it, as a picture
      // box draws a one-pixel line.
      std::fill(examine.begin(), examine.end(), kWhite);
      std::vector<raster::PathPixel> line;
      raster::LinePath({points[a].x, points[a].y}, {points[c].x, points[c].y}, false,
                       raster::Clip{0, 0, W - 1, H - 1}, line);
      for (const raster::PathPixel& px : line) {
        examine[static_cast<std::size_t>(px.p.y) * W + static_cast<std::size_t>(px.p.x)] = kBlack;
      }
      const ContourPoint B = points[b];
      if (B.y >= 0 && fore(B)) removed[b] = true;
      if (m.approxMethod == 2 && B.y >= 0 && !removed[b]) {
        ContourPoints four(5);
        GetNeighbours(B, four);
        for (std::int32_t t = 1; t <= 4; ++t) {
          if (ImageIsBack(m, four[t].x, four[t].y) && fore(four[t])) {
            removed[b] = true;
            break;
          }
        }
      }
      if (!removed[b]) a = b;
      b = c;
      c = c + 1;
      ShowElapsedTime(m);
    }
  } else if (m.approxMethod == 3) {
    m.approxMethod = 1;
    std::int32_t n = SimplifyContour(m, m.points, true);
    if (n != UpperBound(m.points)) m.points.resize(n + 1);
    m.approxMethod = 2.5f;
    n = SimplifyContour(m, m.points, true);
    if (n != UpperBound(m.points)) m.points.resize(n + 1);
    m.approxMethod = 3;
    U = UpperBound(points);
    removed.assign(U + 1, false);
  }
  if (closed && !removed[1] && !removed[U] && PointsEqual(points[1], points[U])) {
    removed[U] = true;
  }
  std::int32_t count = 0;
  for (std::int32_t k = 1; k <= U; ++k) {
    if (k < U && !removed[k] && !removed[k + 1] && PointsEqual(points[k], points[k + 1])) {
      removed[k] = true;
    }
    if (!removed[k]) {
      count = count + 1;
      points[count] = points[k];
    }
  }
  return count;
}

void StartAtNearestOrigin(Model& m) {
  std::int32_t best = 1;
  float bestD = 0;
  for (std::int32_t k = 1; k <= UpperBound(m.points); ++k) {
    const double x = m.points[k].x, y = m.points[k].y;
    const float d = static_cast<float>(std::sqrt(x * x + y * y));
    if (k == 1 || d < bestD) {
      best = k;
      bestD = d;
    }
  }
  if (best != 1) {
    RotateContour(m.points, best, false);
  }
}

std::string AddContourAtPoint(Model& m, std::int32_t px, std::int32_t py) {
  ContourPoints saved;
  CopyPoints(m.points, saved);
  if (!TraceContourAt(m, px, py)) {
    CopyPoints(saved, m.points);
    return "No figure found.";
  }
  const std::int32_t n = SimplifyContour(m, m.points, true);
  if (n != UpperBound(m.points)) m.points.resize(n + 1);
  if (UpperBound(m.points) == 0) {
    CopyPoints(saved, m.points);
    return "No figure found.";
  }
  StartAtNearestOrigin(m);
  for (std::int32_t k = 0; k <= UpperBound(saved) - 1; ++k) {
    if ((k == 0 || saved[k].y < 0) && PointsEqual(saved[k + 1], m.points[1])) {
      CopyPoints(saved, m.points);
      return "Already added.";
    }
  }
  saved.push_back(Separator(m.contourCount));
  m.contourCount = m.contourCount + 1;
  for (std::int32_t k = 1; k <= UpperBound(m.points); ++k) saved.push_back(m.points[k]);
  CopyPoints(saved, m.points);
  m.titles.push_back("#" + std::to_string(m.contourCount - 1));
  return "";
}

// Nearest pair, one float root per pair; rotates both. Returns i0 (0: no pair).
std::int32_t ConnectToPrevious(Model& m, ContourPoints& existing, ContourPoints& newer) {
  float best = static_cast<float>(
      std::sqrt(static_cast<double>(m.maskW) * m.maskW + static_cast<double>(m.maskH) * m.maskH));
  std::int32_t i0 = 0, j0 = 0;
  for (std::int32_t i = 1; i <= UpperBound(existing); ++i) {
    for (std::int32_t j = 1; j <= UpperBound(newer); ++j) {
      if (existing[i].y >= 0 && newer[j].y >= 0) {
        const double dx = static_cast<double>(existing[i].x) - newer[j].x;
        const double dy = static_cast<double>(existing[i].y) - newer[j].y;
        const float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
        if (d < best) {
          best = d;
          i0 = i;
          j0 = j;
          if (best == 0) break;
        }
      }
    }
    ShowElapsedTime(m);
    if (best == 0 && i0 > 0) break;
  }
  if (i0 > 0) {
    RotateContour(existing, i0, true);
    RotateContour(newer, j0, false);
  }
  return i0;
}

void CreateWholeImage(Model& m) {
  m.contourCount = 0;
  m.titles.clear();
  ContourPoints collected = EmptyContourPoints();
  ContourPoint p{0, 0};
  // CountRegionPixels, against the mask's white; a tick after each row.
  const auto total = [&] {
    std::int32_t count = 0;
    for (std::int32_t y = 0; y < m.maskH; ++y) {
      for (std::int32_t x = 0; x < m.maskW; ++x)
        if (GetMaskPixel(m, x, y) != kWhite) ++count;
      ShowElapsedTime(m);
    }
    return count;
  };
  for (int pass = 1; pass <= 2; ++pass) {
    PrepareMask(m);
    if (pass == 1) total();
    for (;;) {
      if (pass == 2) {
        if (p.x == 0 && p.y == 0) {
          // A picture one pixel larger all round, white, with the mask drawn inside;
          // filled black from its corner, then drawn back without the frame.
          const std::int32_t FW = m.maskW + 2, FH = m.maskH + 2;
          std::vector<std::uint8_t> frame(static_cast<std::size_t>(FW) * FH, kWhite);
          for (std::int32_t y = 0; y < m.maskH; ++y)
            for (std::int32_t x = 0; x < m.maskW; ++x)
              frame[static_cast<std::size_t>(y + 1) * FW + x + 1] = GetMaskPixel(m, x, y);
          Flood(frame, FW, FH, 0, 0, kWhite, kBlack);
          for (std::int32_t y = 0; y < m.maskH; ++y)
            for (std::int32_t x = 0; x < m.maskW; ++x)
              SetMaskPixel(m, x, y, frame[static_cast<std::size_t>(y + 1) * FW + x + 1]);
        } else {
          Flood(m.mask, m.maskW, m.maskH, p.x, p.y, kWhite, kBlack);
        }
        // FindNextRegionPixel, against the mask's white.
        bool found = false;
        for (std::int32_t row = p.y; row <= m.maskH - 1 && !found; ++row) {
          for (std::int32_t col = 0; col <= m.maskW - 1; ++col) {
            if (row == p.y && col <= p.x) continue;
            if (GetMaskPixel(m, col, row) == kWhite) {
              p = {col, row};
              found = true;
              break;
            }
          }
          ShowElapsedTime(m);
        }
        if (!found) break;
        if (m.stopRequested) goto end;
      }
      {
        bool deadEnd = false;
        const bool traced = TraceContourAt(m, p.x, p.y, &deadEnd);
        if (!traced && !deadEnd) break;
        m.traced.push_back({pass, m.points, m.lastTrace});
        if (!traced) {
          if (pass == 1) {
            Flood(m.mask, m.maskW, m.maskH, m.points[1].x, m.points[1].y, kBlack, kRed,
                  !m.previousRules);
          }
          if (m.stopRequested) goto end;
          continue;
        }
        if (m.stopRequested) goto end;
        const ContourPoint start = m.points[1];
        if (UpperBound(collected) > 0 && m.connected) {
          ConnectToPrevious(m, collected, m.points);
          if (m.stopRequested) goto end;
          collected.push_back(collected[1]);
        }
        for (std::int32_t k = 1; k <= UpperBound(m.points); ++k) collected.push_back(m.points[k]);
        collected.push_back({});
        if (m.connected) {
          if (m.contourCount == 0) {
            m.titles.push_back("#" + std::to_string(m.contourCount));
            m.contourCount = m.contourCount + 1;
          }
          collected.back() = m.points[1];
        } else {
          m.titles.push_back("#" + std::to_string(m.contourCount));
          m.contourCount = m.contourCount + 1;
          collected.back() = Separator(m.contourCount);
        }
        if (pass == 1 && !m.previousRules) {
          // The whole 8-connected figure the contour went round.
          Flood(m.mask, m.maskW, m.maskH, start.x, start.y, kBlack, kRed, true);
        } else if (pass == 1) {
          const ContourPoint f = m.points[1];
          if (GetMaskPixel(m, f.x, f.y) == kBlack) {
            Flood(m.mask, m.maskW, m.maskH, f.x, f.y, kBlack, kRed);
          } else {
            Flood(m.mask, m.maskW, m.maskH, start.x, start.y, kBlack, kRed);
          }
        }
      }
    }
    if (m.stopRequested) goto end;
  }
end:
  CopyPoints(collected, m.points);
  std::int32_t n = SimplifyContour(m, m.points, true);
  if (UpperBound(m.points) > 0) {
    if (n >= 1 && PointsEqual(m.points[n], m.points[1])) n = n - 1;
    if (n >= 1 && m.points[n].y < 0) n = n - 1;
    if (n != UpperBound(m.points)) m.points.resize(n + 1);
  }
}

}  // namespace morvane::engine::reference
