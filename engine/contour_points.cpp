#include "engine/contour_points.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace morvane::engine {

void ResetPoints(ContourPoints& points) { points.assign(1, ContourPoint{}); }

void CutPoints(ContourPoints& points, std::int32_t upper) {
  points.resize(static_cast<std::size_t>(std::max<std::int32_t>(upper, 0)) + 1);
}

bool PointsEqual(const ContourPoint& a, const ContourPoint& b) { return a.x == b.x && a.y == b.y; }

void CopyPoints(const ContourPoints& source, ContourPoints& destination) {
  if (&source != &destination) {
    destination.assign(source.begin(), source.end());
  }
  if (destination.empty()) {
    destination.emplace_back();
  }
  destination[0] = ContourPoint{};
}

void GetContourRange(const ContourPoints& points, std::int32_t i, std::int32_t& first,
                     std::int32_t* last) {
  const std::int32_t upper = UpperBound(points);
  first = 1;
  for (std::int32_t k = std::min(i, upper + 1) - 1; k >= 1; --k) {
    if (IsSeparator(points[static_cast<std::size_t>(k)])) {
      first = k + 1;
      break;
    }
  }
  if (last != nullptr) {
    *last = upper;
    for (std::int32_t k = std::max(i, 0) + 1; k <= upper; ++k) {
      if (IsSeparator(points[static_cast<std::size_t>(k)])) {
        *last = k - 1;
        break;
      }
    }
  }
}

void RenumberContours(ContourPoints& points, std::int32_t& count) {
  // A separator gets the number of the contour after it, which is the number of
  // contours before it. One with no contour in front (at the start, or right after
  // another separator) ends no contour and is not counted, so a document emptied by
  // deleting contours counts 0 and the next contour is numbered like its title.
  std::int32_t contours = 0;
  bool inContour = false;
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (IsSeparator(points[k])) {
      if (inContour) {
        ++contours;
        inContour = false;
      }
      points[k].x = contours;
    } else {
      inContour = true;
    }
  }
  count = contours + (inContour ? 1 : 0);
}

namespace {

// A step byte holds dx + 8 in its high nibble and dy + 8 in its low one; 0, the step
// (-8, -8), instead announces a point written out in full.
constexpr std::uint8_t kFullPoint = 0;
constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

}  // namespace

void PackedPoints::Reset() {
  blocks_.clear();
  count_ = 1;
  last_ = ContourPoint{};
}

void PackedPoints::push_back(const ContourPoint& p) { append(&p, &p + 1); }

void PackedPoints::append(const ContourPoint* first, const ContourPoint* last) {
  // Written through a local pointer into room made for the worst case (nine bytes a
  // point) beforehand: a check and a store per byte would cost more than the packing.
  constexpr std::size_t kMaxBytes = 1 + sizeof(ContourPoint);
  ContourPoint before = last_;
  while (first != last) {
    if (blocks_.empty() || kBlockBytes - blocks_.back().used < kMaxBytes) {
      blocks_.push_back({std::make_unique_for_overwrite<std::uint8_t[]>(kBlockBytes), 0});
    }
    Block& block = blocks_.back();
    const std::size_t fit = (kBlockBytes - block.used) / kMaxBytes;
    const ContourPoint* const stop =
        first + std::min<std::size_t>(fit, static_cast<std::size_t>(last - first));
    std::uint8_t* out = block.bytes.get() + block.used;
    for (; first != stop; ++first) {
      const ContourPoint p = *first;
      const std::int64_t dx = std::int64_t{p.x} - before.x;
      const std::int64_t dy = std::int64_t{p.y} - before.y;
      if (dx >= -8 && dx <= 7 && dy >= -8 && dy <= 7 && (dx != -8 || dy != -8)) {
        *out++ = static_cast<std::uint8_t>(((dx + 8) << 4) | (dy + 8));
      } else {
        *out++ = kFullPoint;
        std::memcpy(out, &p, sizeof(ContourPoint));
        out += sizeof(ContourPoint);
      }
      before = p;
      ++count_;
    }
    block.used = static_cast<std::size_t>(out - block.bytes.get());
  }
  last_ = before;
}

void PackedPoints::MoveTo(ContourPoints& points) {
  points.clear();
  points.resize(count_);
  ContourPoint* out = points.data();
  ContourPoint p{};
  *out++ = p;
  for (Block& block : blocks_) {
    const std::uint8_t* in = block.bytes.get();
    const std::uint8_t* const end = in + block.used;
    while (in != end) {
      const std::uint8_t b = *in++;
      if (b == kFullPoint) {
        std::memcpy(&p, in, sizeof(ContourPoint));
        in += sizeof(ContourPoint);
      } else {
        p = {p.x + ((b >> 4) - 8), p.y + ((b & 15) - 8)};
      }
      *out++ = p;
    }
    block.bytes.reset();
  }
  blocks_.clear();
  count_ = 1;
  last_ = ContourPoint{};
}

void RotateContour(ContourPoints& points, std::int32_t start, bool within) {
  std::int32_t lo = 1;
  std::int32_t hi = UpperBound(points);
  if (hi == 0) {
    return;
  }
  if (within) {
    GetContourRange(points, start, lo, &hi);
  }
  if (start < lo || start > hi) {
    return;
  }
  const auto begin = points.begin();
  std::rotate(begin + lo, begin + start, begin + hi + 1);
}

}  // namespace morvane::engine
