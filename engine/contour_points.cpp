#include "engine/contour_points.h"

#include <algorithm>
#include <cstring>

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

void PackedPoints::Put(const std::uint8_t* bytes, std::size_t n) {
  if (blocks_.empty() || blocks_.back().size() + n > kBlockBytes) {
    blocks_.emplace_back().reserve(kBlockBytes);
  }
  blocks_.back().insert(blocks_.back().end(), bytes, bytes + n);
}

void PackedPoints::Reset() {
  blocks_.clear();
  count_ = 1;
  last_ = ContourPoint{};
}

void PackedPoints::push_back(const ContourPoint& p) {
  const std::int64_t dx = std::int64_t{p.x} - last_.x;
  const std::int64_t dy = std::int64_t{p.y} - last_.y;
  if (dx >= -8 && dx <= 7 && dy >= -8 && dy <= 7 && (dx != -8 || dy != -8)) {
    const auto step = static_cast<std::uint8_t>(((dx + 8) << 4) | (dy + 8));
    Put(&step, 1);
  } else {
    std::uint8_t full[1 + sizeof(ContourPoint)] = {kFullPoint};
    std::memcpy(full + 1, &p, sizeof(ContourPoint));
    Put(full, sizeof full);
  }
  last_ = p;
  ++count_;
}

void PackedPoints::append(const ContourPoint* first, const ContourPoint* last) {
  for (; first != last; ++first) {
    push_back(*first);
  }
}

void PackedPoints::MoveTo(ContourPoints& points) {
  points.clear();
  points.reserve(count_);
  ContourPoint p{};
  points.push_back(p);
  for (std::vector<std::uint8_t>& block : blocks_) {
    for (std::size_t k = 0; k < block.size();) {
      const std::uint8_t b = block[k++];
      if (b == kFullPoint) {
        std::memcpy(&p, block.data() + k, sizeof(ContourPoint));
        k += sizeof(ContourPoint);
      } else {
        p = {p.x + ((b >> 4) - 8), p.y + ((b & 15) - 8)};
      }
      points.push_back(p);
    }
    std::vector<std::uint8_t>().swap(block);
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
