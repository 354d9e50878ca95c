// Mask preparation and boundary following.
#include <algorithm>
#include <cstring>

#include "common/picture_recolor.h"
#include "engine/contour_engine.h"

namespace morvane::engine {

namespace {

// Neighbour positions 1..8: W, SW, S, SE, E, NE, N, NW.
constexpr std::array<std::int32_t, 9> kDx = {0, -1, -1, 0, 1, 1, 1, 0, -1};
constexpr std::array<std::int32_t, 9> kDy = {0, 0, 1, 1, 1, 0, -1, -1, -1};

// Scans for the first byte in [from, to) that is (or, with `equal` false, is not) v,
// eight bytes at a time; to when there is none.
template <bool kEqual>
std::int32_t ScanRight(const std::uint8_t* row, std::int32_t from, std::int32_t to, std::uint8_t v) {
  const std::uint64_t pattern = 0x0101010101010101ull * v;
  std::int32_t x = from;
  for (; x + 8 <= to; x += 8) {
    std::uint64_t word;
    std::memcpy(&word, row + x, 8);
    std::uint64_t diff = word ^ pattern;  // zero bytes where equal
    std::uint64_t hits;
    if constexpr (kEqual) {
      hits = (diff - 0x0101010101010101ull) & ~diff & 0x8080808080808080ull;
    } else {
      hits = diff;
    }
    if (hits != 0) {
      return x + (__builtin_ctzll(hits) >> 3);
    }
  }
  for (; x < to; ++x) {
    if ((row[x] == v) == kEqual) {
      return x;
    }
  }
  return to;
}

// The first x of the run of v that ends at `from` (row[from] == v), scanning left.
std::int32_t RunStart(const std::uint8_t* row, std::int32_t from, std::uint8_t v) {
  const std::uint64_t pattern = 0x0101010101010101ull * v;
  std::int32_t x = from;  // row[x..from] are v
  while (x >= 8) {
    std::uint64_t word;
    std::memcpy(&word, row + x - 8, 8);
    const std::uint64_t diff = word ^ pattern;
    if (diff != 0) {
      return x - (__builtin_clzll(diff) >> 3);
    }
    x -= 8;
  }
  while (x > 0 && row[x - 1] == v) {
    --x;
  }
  return x;
}

}  // namespace

void GetNeighbours(const ContourPoint& point, ContourPoints& list) {
  const std::int32_t upper = UpperBound(list);
  if (upper == 8) {
    for (std::size_t q = 1; q <= 8; ++q) {
      list[q] = {point.x + kDx[q], point.y + kDy[q]};
    }
  } else if (upper == 4) {
    list[1] = {point.x - 1, point.y};
    list[2] = {point.x, point.y + 1};
    list[3] = {point.x + 1, point.y};
    list[4] = {point.x, point.y - 1};
  }
}

StepPattern MakeStepPattern(std::int32_t d1x, std::int32_t d1y, std::int32_t d2x, std::int32_t d2y,
                            std::int32_t d3x, std::int32_t d3y, std::int32_t cx, std::int32_t cy) {
  return StepPattern{d1x, d1y, d2x, d2y, d3x, d3y, cx, cy};
}

const std::array<StepPattern, 8>& StepPatterns() {
  static const std::array<StepPattern, 8> patterns = {
      MakeStepPattern(1, 0, 2, 1, 2, 2, 2, 0),       MakeStepPattern(1, 0, 2, -1, 2, -2, 2, 0),
      MakeStepPattern(-1, 0, -2, -1, -2, -2, -2, 0), MakeStepPattern(-1, 0, -2, 1, -2, 2, -2, 0),
      MakeStepPattern(0, 1, 1, 2, 2, 2, 0, 2),       MakeStepPattern(0, 1, -1, 2, -2, 2, 0, 2),
      MakeStepPattern(0, -1, 1, -2, 2, -2, 0, -2),   MakeStepPattern(0, -1, -1, -2, -2, -2, 0, -2),
  };
  return patterns;
}

ContourEngine::ContourEngine(RunControl& run, StatusLine& status, PictureView& picture,
                             TitlesView& titles)
    : run_(run), status_(status), picture_(picture), titles_(titles) {}

void ContourEngine::LetBackColor(std::int32_t colour) {
  backColor_ = colour;
  backIsPlain_ = colour >= 0 && colour <= 0xFFFFFF;
  const auto c = static_cast<std::uint32_t>(colour);
  backRgb_ = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

void ContourEngine::PrepareMask() { PrepareMask(false); }

void ContourEngine::PrepareSurveyedMask() { PrepareMask(true); }

void ContourEngine::PrepareMask(bool survey) {
  // The mask is made of the plain image, never of contours drawn over it.
  picture_.ShowImage();
  exactBackground_ = false;
  // The OLE colour's bytes come out blue, green, red; composed in that order they give
  // the colour-table order that the recolouring takes.
  std::uint8_t first = 0, second = 0, third = 0;
  common::ColorToRGBText(backColor_, first, second, third);
  const std::int32_t key =
      std::int32_t{first} | (std::int32_t{second} << 8) | (std::int32_t{third} << 16);
  if (survey) {
    survey_.Begin(image_ != nullptr ? image_->width : 0, image_ != nullptr ? image_->height : 0);
  }
  // The recolouring writes into the old mask's memory.
  if (image_ == nullptr || image_->empty()) {
    mask_ = core::Mask();
    blackPerRow_.clear();
  } else if (!survey) {
    common::RecolorPicture(*image_, key, mask_, &blackPerRow_);
  } else {
    // The survey counts each row's black from the bits it gathers anyway.
    blackPerRow_.assign(static_cast<std::size_t>(image_->height), 0);
    bool keyIsExact = false;
    common::RecolorPicture(
        *image_, key, mask_, nullptr,
        [this](std::int32_t y) {
          blackPerRow_[static_cast<std::size_t>(y)] = survey_.AddRow(
              mask_.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(mask_.width),
              y);
        },
        &keyIsExact);
    exactBackground_ = backIsPlain_ && keyIsExact;
  }
  maskW_ = mask_.empty() ? 0 : mask_.width;
  maskH_ = mask_.empty() ? 0 : mask_.height;
  if (survey) {
    survey_.Finish(mask_.bits.data());
  }
}

std::uint8_t ContourEngine::MaskPixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= maskW_ || y >= maskH_) {
    return kMaskOutside;
  }
  return mask_.bits[Index(x, y)];
}

bool ContourEngine::ImageIsBackground(std::int32_t x, std::int32_t y) const {
  if (!backIsPlain_ || image_ == nullptr || x < 0 || y < 0 || x >= image_->width ||
      y >= image_->height) {
    return false;
  }
  return (image_->at(x, y) & 0xFFFFFFu) == backRgb_;
}

bool ContourEngine::MaskWasWhite(const ContourPoint& p) const {
  // What the survey and the holes pass write over white lies above kMaskPainted, and
  // nothing else does.
  return p.x >= 0 && p.y >= 0 && p.x < maskW_ && p.y < maskH_ &&
         mask_.bits[Index(p.x, p.y)] > kMaskPainted;
}

void ContourEngine::TickPastStops(std::int64_t n) {
  while (n > 0) {
    const std::int64_t stoppedAt = run_.ShowElapsedTimes(n);
    n = stoppedAt == 0 ? 0 : n - stoppedAt;
  }
}

bool ContourEngine::ScanRaster(std::int64_t x, std::int32_t y, MaskValue value, ContourPoint& found,
                               bool equal) {
  // Rows above the mask hold nothing: the scan then starts at the top left.
  if (y < 0) {
    x = 0;
    y = 0;
  }
  for (std::int32_t row = y; row < maskH_; ++row) {
    const std::int64_t from = row == y ? std::max<std::int64_t>(x, 0) : 0;
    if (from < maskW_) {
      const auto column = static_cast<std::int32_t>(from);
      const std::uint8_t* line = &mask_.bits[Index(0, row)];
      std::int32_t hit = maskW_;
      if (equal) {
        const void* at = std::memchr(line + column, value, static_cast<std::size_t>(maskW_ - column));
        hit = at != nullptr ? static_cast<std::int32_t>(static_cast<const std::uint8_t*>(at) - line)
                            : maskW_;
      } else {
        hit = ScanRight<false>(line, column, maskW_, value);
      }
      if (hit < maskW_) {
        found = {hit, row};
        run_.ShowElapsedTime();
        return true;
      }
    }
    run_.ShowElapsedTime();
  }
  return false;
}

bool ContourEngine::FindStart(std::int32_t x, std::int32_t y, ContourPoint& start) {
  const std::uint8_t at = MaskPixel(x, y);
  // From white the next figure pixel, painted or not: the whole-image run's holes pass
  // leaves its first pass's painting in place. From a painted figure the next one not
  // yet traced.
  if (at == kMaskWhite) {
    return ScanRaster(x, y, kMaskWhite, start, false);
  }
  if (at != kMaskBlack) {
    return ScanRaster(x, y, kMaskBlack, start);
  }
  if (x == 0 || mask_.bits[Index(x - 1, y)] != kMaskBlack) {
    start = {x, y};
    return true;
  }
  // The rightmost pixel of the black run that holds (x, y).
  const std::uint8_t* row = &mask_.bits[Index(0, y)];
  std::int32_t c = x;
  while (c < maskW_ && row[c] == kMaskBlack) {
    ++c;
  }
  start = {c - 1, y};
  return true;
}

bool ContourEngine::FindContourStart(std::int32_t x, std::int32_t y) {
  ContourPoint start;
  if (!FindStart(x, y, start)) {
    return false;
  }
  traced_.assign({ContourPoint{}, start});
  return true;
}

bool ContourEngine::TraceContourAt(std::int32_t x, std::int32_t y) {
  return Trace(x, y, kMaskPainted) == TraceResult::Found;
}

ContourEngine::TraceResult ContourEngine::Trace(std::int32_t x, std::int32_t y, MaskValue figure) {
  picture_.ShowImage();
  ResetPoints(traced_);
  ContourPoint start;
  if (!FindStart(x, y, start)) {
    return TraceResult::NoFigure;
  }
  return Follow(start, figure);
}

ContourEngine::TraceResult ContourEngine::Follow(ContourPoint start, MaskValue figure) {
  ContourPoints& points = traced_;
  points.push_back(start);

  const auto stride = static_cast<std::ptrdiff_t>(maskW_);
  std::array<std::ptrdiff_t, 9> delta{};
  for (std::size_t q = 1; q <= 8; ++q) {
    delta[q] = kDy[q] * stride + kDx[q];
  }
  const std::uint8_t* mask = mask_.bits.data();
  const std::int32_t lastX = maskW_ - 1;
  const std::int32_t lastY = maskH_ - 1;
  // A trace that has not closed after this many steps never will.
  const std::int64_t cap = 8 * std::int64_t{maskW_} * maskH_ + 8;

  // The steps already taken from the current position. Only the current position's
  // list is ever looked at again: after a squared corner the trace returns to it, never
  // further back. A new position starts empty.
  std::vector<ContourPoint>& taken = currentMoves_;
  std::int32_t n = 1;
  std::int32_t s = 1;  // back direction; 0 stands for position 8
  ContourPoint firstStep{};
  std::int64_t steps = 0;  // the steps taken, one tick each
  const auto restart = [&] {
    taken.clear();
    n = 1;
    s = 1;
    firstStep = {};
    steps = 0;
  };
  restart();
  enum class Walk { Open, Closed, DeadEnd };
  // Walks on until the trace closes or dies, or `until` steps are taken; no ticks. The
  // walk keeps its state in locals and writes it back when it returns: its stores into
  // the point arrays could alias anything reached through a reference, which the
  // compiler would otherwise reload for every neighbour it tries.
  const auto walk = [&](std::int64_t until) {
    const std::uint8_t* const bits = mask;
    const std::array<std::ptrdiff_t, 9> step = delta;
    ContourPoint* pts = points.data();
    std::int32_t upper = UpperBound(points);
    std::int32_t at = n;
    std::int32_t back = s;
    std::int64_t done = steps;
    ContourPoint first = firstStep;
    Walk outcome = Walk::Open;
    while (done < until) {
      const ContourPoint p = pts[at];
      const std::ptrdiff_t base = static_cast<std::ptrdiff_t>(Index(p.x, p.y));
      // Away from the border every neighbour is inside the mask.
      const bool interior = p.x > 0 && p.y > 0 && p.x < lastX && p.y < lastY;
      ContourPoint c{};
      std::size_t q = 0;
      std::int32_t j = 1;
      // The way back, position 8, comes last: at the tip of a one-pixel arm it is the
      // only way on, and the trace walks out along the arm and back.
      for (; j <= 8; ++j) {
        q = static_cast<std::size_t>(((back + j - 1) & 7) + 1);
        c = {p.x + kDx[q], p.y + kDy[q]};
        if (!interior && (c.x < 0 || c.y < 0 || c.x > lastX || c.y > lastY)) {
          continue;
        }
        const std::ptrdiff_t ci = base + step[q];
        // Figure is every value up to `figure`: painted too, and in the holes pass the
        // outer background.
        if (bits[ci] > figure) {
          continue;
        }
        if (!taken.empty() && std::find(taken.begin(), taken.end(), c) != taken.end()) {
          continue;
        }
        if (c.x == 0 || c.x == lastX || c.y == 0 || c.y == lastY || bits[ci - 1] > figure ||
            bits[ci + stride] > figure || bits[ci + 1] > figure || bits[ci - stride] > figure) {
          break;
        }
      }
      if (j > 8) {
        outcome = Walk::DeadEnd;
        break;
      }
      // Closed when back at the start and about to repeat the first step: a start where
      // two arms meet is passed more than once on the way round.
      if (at > 1 && p == pts[1] && c == first) {
        outcome = Walk::Closed;
        break;
      }
      if (at == 1) {
        first = c;
      }
      taken.push_back(c);
      ++at;
      if (at > upper) {
        points.push_back(c);
        pts = points.data();
        ++upper;
      } else {
        pts[at] = c;
      }
      back = (back + j + 4) & 7;
      if (SquareCorner(pts, at, q)) {
        --at;
      } else {
        taken.clear();
      }
      ++done;
      // Given up after this step's tick: a stop at that tick still wins.
      if (done >= cap || at == INT32_MAX) {
        outcome = Walk::DeadEnd;
        break;
      }
    }
    n = at;
    s = back;
    steps = done;
    firstStep = first;
    return outcome;
  };
  // The steps' ticks go to the host in stretches rather than one virtual call or two
  // each. When a stop falls inside a stretch, the trace is walked again from its start
  // up to that tick, so it ends where a tick-by-tick trace would have.
  constexpr std::int64_t kStretch = 4096;
  for (;;) {
    const std::int64_t from = steps;
    const Walk outcome = walk(from + kStretch);
    const std::int64_t stoppedAt = steps > from ? run_.ShowElapsedTimes(steps - from) : 0;
    if (stoppedAt > 0) {
      ResetPoints(points);
      points.push_back(start);
      restart();
      walk(from + stoppedAt);
      break;
    }
    if (outcome == Walk::DeadEnd) {
      return TraceResult::DeadEnd;
    }
    if (outcome == Walk::Closed) {
      break;
    }
  }
  if (points[static_cast<std::size_t>(n)] == points[1]) {
    CutPoints(points, n - 1);
  }
  return TraceResult::Found;
}

bool ContourEngine::RectifyCorner(std::int32_t i) {
  ContourPoints& points = traced_;
  // Element 0 is no point: a bevel needs three real points before i.
  if (i <= 3 || i > UpperBound(points)) {
    return false;
  }
  // Every bevel ends with a unit step along an axis: the move into i as a position.
  const std::int64_t dx =
      std::int64_t{points[static_cast<std::size_t>(i)].x} - points[static_cast<std::size_t>(i - 1)].x;
  const std::int64_t dy =
      std::int64_t{points[static_cast<std::size_t>(i)].y} - points[static_cast<std::size_t>(i - 1)].y;
  for (std::size_t q = 1; q <= 7; q += 2) {
    if (dx == kDx[q] && dy == kDy[q]) {
      return SquareCorner(points.data(), i, q);
    }
  }
  return false;
}

bool ContourEngine::SquareCorner(ContourPoint* points, std::int32_t i, std::size_t q) const {
  // Every bevel ends with a step along an axis (odd positions), and needs three real
  // points before the newest one.
  if (i <= 3 || (q & 1) == 0) {
    return false;
  }
  const ContourPoint p = points[i];
  // The step back, d1 of the patterns; then what the two points before lie off twice
  // that step: one pixel across it and two across it make the bevel. In 64 bits, as
  // any two points of an array may lie far apart.
  const std::int32_t bx = -kDx[q];
  const std::int32_t by = -kDy[q];
  const std::int64_t ax = std::int64_t{points[i - 2].x} - p.x - 2 * bx;
  const std::int64_t ay = std::int64_t{points[i - 2].y} - p.y - 2 * by;
  if (std::int64_t{points[i - 3].x} - p.x - 2 * bx != 2 * ax ||
      std::int64_t{points[i - 3].y} - p.y - 2 * by != 2 * ay) {
    return false;
  }
  const bool across = bx != 0 ? ax == 0 && (ay == 1 || ay == -1) : ay == 0 && (ax == 1 || ax == -1);
  if (!across) {
    return false;
  }
  const ContourPoint corner{p.x + 2 * bx, p.y + 2 * by};
  if (exactBackground_ ? MaskWasWhite(corner) : ImageIsBackground(corner.x, corner.y)) {
    return false;
  }
  points[i - 2] = corner;
  points[i - 1] = p;
  return true;
}

void ContourEngine::FillHole(std::int32_t x0, std::int32_t y0) {
  // A row's run at a time, 4-connected. The size and the stack live in locals: the
  // byte stores could alias the members, which the compiler would then reload.
  constexpr std::uint8_t from = kMaskWhite;
  if (MaskPixel(x0, y0) != from) {
    return;
  }
  const std::int32_t w = maskW_;
  const std::int32_t h = maskH_;
  const auto stride = static_cast<std::size_t>(w);
  std::uint8_t* const mask = mask_.bits.data();
  std::vector<ContourPoint> stack;
  stack.swap(floodStack_);
  stack.clear();
  stack.push_back({x0, y0});
  while (!stack.empty()) {
    const ContourPoint seed = stack.back();
    stack.pop_back();
    std::uint8_t* row = mask + static_cast<std::size_t>(seed.y) * stride;
    if (row[seed.x] != from) {
      continue;
    }
    const std::int32_t left = RunStart(row, seed.x, from);
    const std::int32_t end = ScanRight<false>(row, seed.x, w, from);
    std::memset(row + left, kMaskFilledHole, static_cast<std::size_t>(end - left));
    // One seed per white run that shares a column with [left, end) above and below.
    for (const std::int32_t y : {seed.y - 1, seed.y + 1}) {
      if (y < 0 || y >= h) {
        continue;
      }
      const std::uint8_t* next = mask + static_cast<std::size_t>(y) * stride;
      std::int32_t x = ScanRight<true>(next, left, end, from);
      while (x < end) {
        stack.push_back({x, y});
        x = ScanRight<true>(next, ScanRight<false>(next, x, end, from), end, from);
      }
    }
  }
  floodStack_.swap(stack);
}

}  // namespace morvane::engine
