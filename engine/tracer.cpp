// Mask preparation and boundary following.
#include <cstring>

#include "common/picture_recolor.h"
#include "engine/contour_engine.h"

namespace morvane::engine {

namespace {

// Neighbour positions 1..8: W, SW, S, SE, E, NE, N, NW.
constexpr std::array<std::int32_t, 9> kDx = {0, -1, -1, 0, 1, 1, 1, 0, -1};
constexpr std::array<std::int32_t, 9> kDy = {0, 0, 1, 1, 1, 0, -1, -1, -1};

bool IsOffset(const ContourPoint& p, const ContourPoint& base, std::int32_t dx,
              std::int32_t dy) {
  return std::int64_t{p.x} == std::int64_t{base.x} + dx &&
         std::int64_t{p.y} == std::int64_t{base.y} + dy;
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

StepPattern MakeStepPattern(std::int32_t d1x, std::int32_t d1y, std::int32_t d2x,
                            std::int32_t d2y, std::int32_t d3x, std::int32_t d3y,
                            std::int32_t cx, std::int32_t cy) {
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

ContourEngine::ContourEngine(ContourState& state, EngineHost& host, RunControl& run,
                             TitlesList& titles)
    : state_(state), host_(host), run_(run), titles_(titles) {}

void ContourEngine::SetBackColor(std::int32_t colour) {
  backColor_ = colour;
  backIsPlain_ = colour >= 0 && colour <= 0xFFFFFF;
  const auto c = static_cast<std::uint32_t>(colour);
  backRgb_ = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

void ContourEngine::PrepareMask() {
  // The OLE colour's bytes come out blue, green, red; composed in that order they give
  // the colour-table order that the recolouring takes.
  std::uint8_t first = 0, second = 0, third = 0;
  common::ColorToRGBText(backColor_, first, second, third);
  const std::int32_t key = std::int32_t{first} | (std::int32_t{second} << 8) |
                           (std::int32_t{third} << 16);
  if (image_ == nullptr || image_->empty()) {
    prepared_ = core::Mask();
  } else {
    common::RecolorPicture(*image_, key, prepared_);
  }
  LoadWorkMask();
}

void ContourEngine::LoadWorkMask() {
  maskW_ = prepared_.width > 0 && prepared_.height > 0 ? prepared_.width : 0;
  maskH_ = maskW_ > 0 ? prepared_.height : 0;
  stride_ = static_cast<std::size_t>(maskW_) + 2;
  work_.assign(stride_ * (static_cast<std::size_t>(maskH_) + 2), kMaskOutside);
  for (std::int32_t y = 0; y < maskH_; ++y) {
    std::memcpy(&work_[Index(0, y)], &prepared_.bits[static_cast<std::size_t>(y) * maskW_],
                static_cast<std::size_t>(maskW_));
  }
}

std::uint8_t ContourEngine::MaskPixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= maskW_ || y >= maskH_) {
    return kMaskOutside;
  }
  return work_[Index(x, y)];
}

bool ContourEngine::ImageIsBackground(std::int32_t x, std::int32_t y) const {
  if (!backIsPlain_ || image_ == nullptr || x < 0 || y < 0 || x >= image_->width ||
      y >= image_->height) {
    return false;
  }
  return (image_->at(x, y) & 0xFFFFFFu) == backRgb_;
}

bool ContourEngine::ScanForBlack(std::int32_t x, std::int32_t y, ContourPoint& start) {
  // Raster order from (x, y); rows above the mask hold nothing.
  if (y < 0) {
    x = 0;
    y = 0;
  }
  for (std::int32_t row = y; row < maskH_; ++row) {
    const std::int32_t from = row == y ? std::max(x, 0) : 0;
    if (from < maskW_) {
      const std::uint8_t* begin = &work_[Index(from, row)];
      const void* hit = std::memchr(begin, core::kMaskBlack, static_cast<std::size_t>(maskW_ - from));
      if (hit != nullptr) {
        start = {from + static_cast<std::int32_t>(static_cast<const std::uint8_t*>(hit) - begin), row};
        run_.ShowElapsedTime();
        return true;
      }
    }
    run_.ShowElapsedTime();
  }
  return false;
}

bool ContourEngine::FindStart(std::int32_t x, std::int32_t y, ContourPoint& start) {
  if (MaskPixel(x, y) != core::kMaskBlack) {
    return ScanForBlack(x, y, start);
  }
  if (x == 0 || work_[Index(x - 1, y)] != core::kMaskBlack) {
    start = {x, y};
    return true;
  }
  // The rightmost pixel of the black run that holds (x, y).
  const std::uint8_t* row = &work_[Index(0, y)];
  std::int32_t c = x;
  while (c < maskW_ && row[c] == core::kMaskBlack) {
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
  state_.ContourPoints.assign({ContourPoint{}, start});
  return true;
}

bool ContourEngine::TraceContourAt(std::int32_t x, std::int32_t y) {
  return Trace(x, y) == TraceResult::Found;
}

ContourEngine::TraceResult ContourEngine::Trace(std::int32_t x, std::int32_t y) {
  host_.ShowImage();
  ContourPoints& points = state_.ContourPoints;
  ResetPoints(points);
  ContourPoint start;
  if (!FindStart(x, y, start)) {
    return TraceResult::NoFigure;
  }
  points.push_back(start);

  const auto stride = static_cast<std::ptrdiff_t>(stride_);
  std::array<std::ptrdiff_t, 9> delta{};
  for (std::size_t q = 1; q <= 8; ++q) {
    delta[q] = kDy[q] * stride + kDx[q];
  }
  const std::uint8_t* mask = work_.data();
  const std::int32_t lastX = maskW_ - 1;
  const std::int32_t lastY = maskH_ - 1;
  // A trace that has not closed after this many steps never will.
  const std::int64_t cap = 8 * std::int64_t{maskW_} * maskH_ + 8;

  moveHeads_.assign(2, -1);
  moves_.clear();
  std::int32_t n = 1;
  std::int32_t s = 1;  // back direction; 0 stands for position 8
  for (std::int64_t steps = 1;; ++steps) {
    const ContourPoint p = points[static_cast<std::size_t>(n)];
    const std::ptrdiff_t base = static_cast<std::ptrdiff_t>(Index(p.x, p.y));
    ContourPoint c{};
    std::int32_t j = 1;
    for (; j <= 7; ++j) {
      const std::size_t q = static_cast<std::size_t>((s + j - 1) % 8 + 1);
      const std::ptrdiff_t ci = base + delta[q];
      if (mask[ci] != core::kMaskBlack) {
        continue;  // also every pixel beyond the mask
      }
      c = {p.x + kDx[q], p.y + kDy[q]};
      bool taken = false;
      for (std::int32_t m = moveHeads_[static_cast<std::size_t>(n)]; m >= 0;
           m = moves_[static_cast<std::size_t>(m)].next) {
        if (moves_[static_cast<std::size_t>(m)].to == c) {
          taken = true;
          break;
        }
      }
      if (taken) {
        continue;
      }
      const bool onBorder = c.x == 0 || c.x == lastX || c.y == 0 || c.y == lastY;
      if (onBorder || mask[ci - 1] != core::kMaskBlack || mask[ci + stride] != core::kMaskBlack ||
          mask[ci + 1] != core::kMaskBlack || mask[ci - stride] != core::kMaskBlack) {
        break;
      }
    }
    if (j > 7) {
      return TraceResult::DeadEnd;
    }
    moves_.push_back({c, moveHeads_[static_cast<std::size_t>(n)]});
    moveHeads_[static_cast<std::size_t>(n)] = static_cast<std::int32_t>(moves_.size() - 1);
    ++n;
    if (n > UpperBound(points)) {
      points.push_back(c);
      moveHeads_.push_back(-1);
    } else {
      points[static_cast<std::size_t>(n)] = c;
    }
    s = ((s + j) % 8 + 4) % 8;
    if (RectifyCorner(n)) {
      --n;
    }
    run_.ShowElapsedTime();
    if (run_.StopRequested()) {
      break;
    }
    if (points[static_cast<std::size_t>(n)] == points[1]) {
      break;
    }
    if (steps >= cap || n == INT32_MAX) {
      return TraceResult::DeadEnd;
    }
  }
  if (points[static_cast<std::size_t>(n)] == points[1]) {
    CutPoints(points, n - 1);
  }
  return TraceResult::Found;
}

bool ContourEngine::RectifyCorner(std::int32_t i) {
  ContourPoints& points = state_.ContourPoints;
  const std::int32_t n = UpperBound(points);
  // Element 0 is no point: a bevel needs three real points before i.
  if (n < 3 || i <= 3 || i > n) {
    return false;
  }
  const auto at = [&points](std::int32_t k) -> ContourPoint& {
    return points[static_cast<std::size_t>(k)];
  };
  const ContourPoint p = at(i);
  const ContourPoint& p1 = at(i - 1);
  const ContourPoint& p2 = at(i - 2);
  const ContourPoint& p3 = at(i - 3);
  for (const StepPattern& pattern : StepPatterns()) {
    if (IsOffset(p1, p, pattern.d1x, pattern.d1y) && IsOffset(p2, p, pattern.d2x, pattern.d2y) &&
        IsOffset(p3, p, pattern.d3x, pattern.d3y)) {
      const ContourPoint corner{p.x + pattern.cx, p.y + pattern.cy};
      if (ImageIsBackground(corner.x, corner.y)) {
        return false;
      }
      at(i - 2) = corner;
      at(i - 1) = p;
      return true;
    }
  }
  return false;
}

void ContourEngine::FloodFill(std::int32_t x, std::int32_t y, std::uint8_t from, std::uint8_t to) {
  if (MaskPixel(x, y) != from) {
    return;
  }
  floodStack_.clear();
  floodStack_.push_back(Index(x, y));
  RunFlood(from, to);
}

void ContourEngine::FloodOuterBackground() {
  // The same as framing the mask with background and filling from the frame.
  floodStack_.clear();
  for (std::int32_t x = 0; x < maskW_; ++x) {
    floodStack_.push_back(Index(x, 0));
    floodStack_.push_back(Index(x, maskH_ - 1));
  }
  for (std::int32_t y = 0; y < maskH_; ++y) {
    floodStack_.push_back(Index(0, y));
    floodStack_.push_back(Index(maskW_ - 1, y));
  }
  RunFlood(core::kMaskWhite, core::kMaskBlack);
}

void ContourEngine::RunFlood(std::uint8_t from, std::uint8_t to) {
  // 4-connected scanline fill; the frame of kMaskOutside stops every run.
  std::uint8_t* mask = work_.data();
  while (!floodStack_.empty()) {
    const std::size_t seed = floodStack_.back();
    floodStack_.pop_back();
    if (mask[seed] != from) {
      continue;
    }
    std::size_t left = seed;
    while (mask[left - 1] == from) {
      --left;
    }
    std::size_t right = seed;
    while (mask[right + 1] == from) {
      ++right;
    }
    std::memset(mask + left, to, right - left + 1);
    for (const std::size_t row : {left - stride_, left + stride_}) {
      const std::size_t end = row + (right - left);
      for (std::size_t k = row; k <= end; ++k) {
        if (mask[k] == from && (k == row || mask[k - 1] != from)) {
          floodStack_.push_back(k);
        }
      }
    }
  }
}

}  // namespace morvane::engine
