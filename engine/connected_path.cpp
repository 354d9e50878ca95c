#include "engine/connected_path.h"

#include <algorithm>
#include <cmath>

#include "engine/distance.h"

namespace morvane::engine {

namespace {

// Blocks are split when they hold twice this many stretches: a position costs a sum
// over the blocks and one over a block, both short.
constexpr std::size_t kBlockStretches = 128;

}  // namespace

void ConnectedPath::Reset(std::int32_t width, std::int32_t height) {
  store_.clear();
  stretches_.clear();
  blockOf_.clear();
  blocks_.clear();
  order_.clear();
  orderIndex_.clear();
  stretchAt_.clear();
  mark_ = Mark{};
  total_ = 0;
  lastAppended_ = -1;
  const std::int32_t cell = std::int32_t{1} << kCellShift;
  columns_ = std::max<std::int32_t>(1, (std::max(width, 0) + cell - 1) >> kCellShift);
  rows_ = std::max<std::int32_t>(1, (std::max(height, 0) + cell - 1) >> kCellShift);
  cellHead_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), -1);
  nextInCell_.clear();
}

const ContourPoint& ConnectedPath::First() const {
  const Stretch& s = stretches_[static_cast<std::size_t>(mark_.stretch)];
  return store_[static_cast<std::size_t>(s.begin + mark_.offset)];
}

std::size_t ConnectedPath::CellOf(std::int32_t x, std::int32_t y) const {
  const std::int32_t cx = std::clamp(x >> kCellShift, 0, columns_ - 1);
  const std::int32_t cy = std::clamp(y >> kCellShift, 0, rows_ - 1);
  return static_cast<std::size_t>(cy) * static_cast<std::size_t>(columns_) +
         static_cast<std::size_t>(cx);
}

void ConnectedPath::AddToGrid(std::int32_t stored) {
  const ContourPoint& p = store_[static_cast<std::size_t>(stored)];
  std::int32_t& head = cellHead_[CellOf(p.x, p.y)];
  nextInCell_.push_back(head);
  head = stored;
}

void ConnectedPath::Append(const ContourPoint* begin, const ContourPoint* end) {
  if (begin == end) {
    return;
  }
  const auto first = static_cast<std::int32_t>(store_.size());
  const auto n = static_cast<std::int32_t>(end - begin);
  store_.insert(store_.end(), begin, end);
  for (std::int32_t k = first; k < first + n; ++k) {
    AddToGrid(k);
  }
  total_ += n;
  if (lastAppended_ >= 0) {
    // The stretch before the mark ends the store: it simply grows.
    stretches_[static_cast<std::size_t>(lastAppended_)].length += n;
    blocks_[static_cast<std::size_t>(blockOf_[static_cast<std::size_t>(lastAppended_)])].length += n;
    return;
  }
  const auto s = static_cast<std::int32_t>(stretches_.size());
  stretches_.push_back({first, n});
  blockOf_.push_back(-1);
  stretchAt_[first] = s;
  lastAppended_ = s;
  if (mark_.stretch < 0) {
    blocks_.push_back({{s}, n});
    blockOf_[static_cast<std::size_t>(s)] = 0;
    order_ = {0};
    orderIndex_ = {0};
    mark_ = {s, 0};
    return;
  }
  if (mark_.offset > 0) {
    // The mark's stretch splits in front of the mark.
    Stretch& m = stretches_[static_cast<std::size_t>(mark_.stretch)];
    const Stretch tail{m.begin + mark_.offset, m.length - mark_.offset};
    m.length = mark_.offset;
    const auto t = static_cast<std::int32_t>(stretches_.size());
    stretches_.push_back(tail);
    blockOf_.push_back(-1);
    stretchAt_[tail.begin] = t;
    blocks_[static_cast<std::size_t>(blockOf_[static_cast<std::size_t>(mark_.stretch)])].length -=
        tail.length;
    InsertAfter(t, mark_.stretch);
    mark_ = {t, 0};
  }
  InsertBefore(s, mark_.stretch);
}

void ConnectedPath::InsertBefore(std::int32_t s, std::int32_t before) {
  const std::int32_t block = blockOf_[static_cast<std::size_t>(before)];
  const std::vector<std::int32_t>& list = blocks_[static_cast<std::size_t>(block)].stretches;
  const auto at = static_cast<std::size_t>(std::find(list.begin(), list.end(), before) - list.begin());
  InsertAt(s, block, at);
}

void ConnectedPath::InsertAfter(std::int32_t s, std::int32_t after) {
  const std::int32_t block = blockOf_[static_cast<std::size_t>(after)];
  const std::vector<std::int32_t>& list = blocks_[static_cast<std::size_t>(block)].stretches;
  const auto at = static_cast<std::size_t>(std::find(list.begin(), list.end(), after) - list.begin());
  InsertAt(s, block, at + 1);
}

void ConnectedPath::InsertAt(std::int32_t s, std::int32_t block, std::size_t at) {
  Block& b = blocks_[static_cast<std::size_t>(block)];
  b.stretches.insert(b.stretches.begin() + static_cast<std::ptrdiff_t>(at), s);
  b.length += stretches_[static_cast<std::size_t>(s)].length;
  blockOf_[static_cast<std::size_t>(s)] = block;
  if (b.stretches.size() < 2 * kBlockStretches) {
    return;
  }
  // Split the full block in two; the second half becomes a new block after it.
  const auto id = static_cast<std::int32_t>(blocks_.size());
  Block half;
  Block& full = blocks_[static_cast<std::size_t>(block)];
  half.stretches.assign(full.stretches.begin() + kBlockStretches, full.stretches.end());
  full.stretches.resize(kBlockStretches);
  for (const std::int32_t moved : half.stretches) {
    half.length += stretches_[static_cast<std::size_t>(moved)].length;
    blockOf_[static_cast<std::size_t>(moved)] = id;
  }
  full.length -= half.length;
  blocks_.push_back(std::move(half));
  const std::int32_t index = orderIndex_[static_cast<std::size_t>(block)] + 1;
  order_.insert(order_.begin() + index, id);
  orderIndex_.push_back(0);
  for (std::size_t k = static_cast<std::size_t>(index); k < order_.size(); ++k) {
    orderIndex_[static_cast<std::size_t>(order_[k])] = static_cast<std::int32_t>(k);
  }
}

std::int32_t ConnectedPath::StretchOf(std::int32_t stored) const {
  auto it = stretchAt_.upper_bound(stored);
  --it;
  return it->second;
}

std::int64_t ConnectedPath::Rank(std::int32_t stretch, std::int32_t offset) const {
  const std::int32_t block = blockOf_[static_cast<std::size_t>(stretch)];
  std::int64_t rank = offset;
  const std::int32_t index = orderIndex_[static_cast<std::size_t>(block)];
  for (std::int32_t k = 0; k < index; ++k) {
    rank += blocks_[static_cast<std::size_t>(order_[static_cast<std::size_t>(k)])].length;
  }
  for (const std::int32_t s : blocks_[static_cast<std::size_t>(block)].stretches) {
    if (s == stretch) {
      break;
    }
    rank += stretches_[static_cast<std::size_t>(s)].length;
  }
  return rank;
}

std::int32_t ConnectedPath::PositionOf(std::int32_t stored) const {
  const std::int32_t s = StretchOf(stored);
  const std::int64_t from = Rank(mark_.stretch, mark_.offset);
  const std::int64_t at = Rank(s, stored - stretches_[static_cast<std::size_t>(s)].begin);
  return static_cast<std::int32_t>((at - from + total_) % total_) + 1;
}

void ConnectedPath::RotateTo(std::int32_t stored) {
  const std::int32_t s = StretchOf(stored);
  mark_ = {s, stored - stretches_[static_cast<std::size_t>(s)].begin};
  lastAppended_ = -1;
}

ConnectedPath::Pair ConnectedPath::FindNearestPair(const ContourPoints& newer, float limit) const {
  Pair pair;
  const PointBox box = PointBox::Of(newer);
  if (total_ == 0 || box.Empty()) {
    return pair;
  }
  const std::int32_t cell = std::int32_t{1} << kCellShift;
  // Calls visit(stored) for every stored point in the cells that may hold a point
  // within `bound` (squared) of q, ring by ring around q's cell; bound may shrink
  // during the visit.
  const auto visitNear = [&](const ContourPoint& q, const std::uint64_t& bound, auto visit) {
    const std::int32_t cx = std::clamp(q.x >> kCellShift, 0, columns_ - 1);
    const std::int32_t cy = std::clamp(q.y >> kCellShift, 0, rows_ - 1);
    const std::int32_t rings = std::max(columns_, rows_);
    for (std::int32_t k = 0; k <= rings; ++k) {
      // Every cell of ring k lies at least (k-1) cells and a pixel away on one axis.
      if (k > 0 && SquaredSum(std::int64_t{k - 1} * cell + 1, 0) > bound) {
        break;
      }
      for (std::int32_t y = cy - k; y <= cy + k; ++y) {
        if (y < 0 || y >= rows_) continue;
        const bool edgeRow = y == cy - k || y == cy + k;
        for (std::int32_t x = cx - k; x <= cx + k; x += edgeRow ? 1 : 2 * k) {
          if (x >= 0 && x < columns_) {
            const std::int64_t left = std::int64_t{x} * cell, top = std::int64_t{y} * cell;
            // Cells at the grid's edge also hold the points beyond it.
            const std::int64_t nx = x == 0 ? std::min<std::int64_t>(q.x, left) : left;
            const std::int64_t ny = y == 0 ? std::min<std::int64_t>(q.y, top) : top;
            const std::int64_t fx =
                x == columns_ - 1 ? std::max<std::int64_t>(q.x, left + cell - 1) : left + cell - 1;
            const std::int64_t fy =
                y == rows_ - 1 ? std::max<std::int64_t>(q.y, top + cell - 1) : top + cell - 1;
            if (PointBox{nx, fx, ny, fy}.SquaredTo(q) <= bound) {
              for (std::int32_t e =
                       cellHead_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                                 static_cast<std::size_t>(x)];
                   e >= 0; e = nextInCell_[static_cast<std::size_t>(e)]) {
                visit(e);
              }
            }
          }
          if (k == 0) break;
        }
      }
    }
  };

  // The smallest squared distance.
  std::uint64_t least = UINT64_MAX;
  for (std::size_t j = 1; j < newer.size() && least > 0; ++j) {
    const ContourPoint& q = newer[j];
    if (IsSeparator(q)) continue;
    visitNear(q, least, [&](std::int32_t e) {
      least = std::min(least, SquaredDistance(store_[static_cast<std::size_t>(e)], q));
    });
  }
  const float best = least == UINT64_MAX ? limit : FloatDistance(least);
  if (!(best < limit)) {
    return pair;
  }
  // Of the pairs at the float distance best, the one first by path position, then by
  // newer position. Their squared distances lie below beyond; the bound leaves room for
  // its rounding.
  pair.swept = true;
  const double beyond = BeyondSquared(best);
  const double room = beyond * (1 + 1e-9) + 2;
  const std::uint64_t bound = room >= 1.8e19 ? UINT64_MAX : static_cast<std::uint64_t>(room);
  for (std::size_t j = 1; j < newer.size(); ++j) {
    const ContourPoint& q = newer[j];
    if (IsSeparator(q)) continue;
    visitNear(q, bound, [&](std::int32_t e) {
      const ContourPoint& p = store_[static_cast<std::size_t>(e)];
      if (FloatDistance(SquaredDistance(p, q)) != best ||
          !(static_cast<double>(box.SquaredTo(p)) < beyond)) {
        return;
      }
      const std::int32_t position = PositionOf(e);
      const auto newerPosition = static_cast<std::int32_t>(j);
      if (pair.position == 0 || position < pair.position ||
          (position == pair.position && newerPosition < pair.newer)) {
        pair = {position, newerPosition, e, true};
      }
    });
  }
  return pair;
}

void ConnectedPath::MoveTo(ContourPoints& out) {
  std::vector<std::int32_t>().swap(cellHead_);
  std::vector<std::int32_t>().swap(nextInCell_);
  out.assign(1, ContourPoint{});
  out.reserve(static_cast<std::size_t>(total_) + 1);
  if (total_ == 0) {
    *this = ConnectedPath();
    return;
  }
  const auto copy = [&](const Stretch& s, std::int32_t from, std::int32_t to) {
    const auto base = store_.begin() + s.begin;
    out.insert(out.end(), base + from, base + to);
  };
  const Stretch& marked = stretches_[static_cast<std::size_t>(mark_.stretch)];
  copy(marked, mark_.offset, marked.length);
  // The stretches after the mark's, round the cyclic list back to it.
  const std::int32_t block = blockOf_[static_cast<std::size_t>(mark_.stretch)];
  const std::vector<std::int32_t>& list = blocks_[static_cast<std::size_t>(block)].stretches;
  std::size_t at =
      static_cast<std::size_t>(std::find(list.begin(), list.end(), mark_.stretch) - list.begin()) + 1;
  std::size_t index = static_cast<std::size_t>(orderIndex_[static_cast<std::size_t>(block)]);
  for (;;) {
    const std::vector<std::int32_t>& stretches =
        blocks_[static_cast<std::size_t>(order_[index])].stretches;
    if (at >= stretches.size()) {
      index = (index + 1) % order_.size();
      at = 0;
      continue;
    }
    const std::int32_t s = stretches[at++];
    if (s == mark_.stretch) {
      break;
    }
    const Stretch& stretch = stretches_[static_cast<std::size_t>(s)];
    copy(stretch, 0, stretch.length);
  }
  copy(marked, 0, mark_.offset);
  *this = ConnectedPath();
}

}  // namespace morvane::engine
