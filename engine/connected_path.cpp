#include "engine/connected_path.h"

#include <algorithm>
#include <cmath>


namespace morvane::engine {

namespace {

// A stretch's priority in the tree: a mix of its index (a bijection, so no two are
// equal), as random as the balance needs and the same on every run.
std::uint32_t Priority(std::int32_t s) {
  auto h = static_cast<std::uint32_t>(s);
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return h;
}

}  // namespace

void ConnectedPath::Reset(std::int32_t width, std::int32_t height) {
  store_.clear();
  stretchOf_.clear();
  stretches_.clear();
  root_ = -1;
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
    stretchOf_.resize(store_.size(), lastAppended_);
    Grow(lastAppended_, n);
    return;
  }
  const std::int32_t s = NewStretch(first, n);
  lastAppended_ = s;
  if (root_ < 0) {
    root_ = s;
    mark_ = {s, 0};
    return;
  }
  if (mark_.offset > 0) {
    SplitAtMark();
  }
  InsertBefore(s, mark_.stretch);
}

std::int32_t ConnectedPath::NewStretch(std::int32_t begin, std::int32_t length) {
  const auto s = static_cast<std::int32_t>(stretches_.size());
  Stretch stretch;
  stretch.begin = begin;
  stretch.length = length;
  stretch.points = length;
  stretches_.push_back(stretch);
  if (stretchOf_.size() < static_cast<std::size_t>(begin + length)) {
    stretchOf_.resize(static_cast<std::size_t>(begin + length));
  }
  std::fill_n(stretchOf_.begin() + begin, length, s);
  return s;
}

void ConnectedPath::SplitAtMark() {
  // The part that moves into a stretch of its own is the shorter one, so that a point
  // is labelled anew only when its stretch at least halves: a logarithmic number of
  // times, however often figures connect into one long stretch.
  const std::int32_t m = mark_.stretch;
  const std::int32_t head = mark_.offset;
  const std::int32_t tail = stretches_[static_cast<std::size_t>(m)].length - head;
  const std::int32_t begin = stretches_[static_cast<std::size_t>(m)].begin;
  Grow(m, -std::min(head, tail));
  if (tail <= head) {
    const std::int32_t t = NewStretch(begin + head, tail);
    InsertAfter(t, m);
    mark_ = {t, 0};
  } else {
    stretches_[static_cast<std::size_t>(m)].begin += head;
    InsertBefore(NewStretch(begin, head), m);
    mark_ = {m, 0};
  }
}

void ConnectedPath::Grow(std::int32_t s, std::int32_t n) {
  stretches_[static_cast<std::size_t>(s)].length += n;
  for (std::int32_t x = s; x >= 0; x = stretches_[static_cast<std::size_t>(x)].parent) {
    stretches_[static_cast<std::size_t>(x)].points += n;
  }
}

std::int32_t ConnectedPath::PointsBelow(std::int32_t s) const {
  return s < 0 ? 0 : stretches_[static_cast<std::size_t>(s)].points;
}

std::int32_t ConnectedPath::Leftmost(std::int32_t s) const {
  while (stretches_[static_cast<std::size_t>(s)].left >= 0) {
    s = stretches_[static_cast<std::size_t>(s)].left;
  }
  return s;
}

void ConnectedPath::InsertBefore(std::int32_t s, std::int32_t before) {
  // The last stretch of before's left subtree, else before itself, gets s on its side.
  std::int32_t at = stretches_[static_cast<std::size_t>(before)].left;
  if (at < 0) {
    Attach(s, before, true);
    return;
  }
  while (stretches_[static_cast<std::size_t>(at)].right >= 0) {
    at = stretches_[static_cast<std::size_t>(at)].right;
  }
  Attach(s, at, false);
}

void ConnectedPath::InsertAfter(std::int32_t s, std::int32_t after) {
  const std::int32_t right = stretches_[static_cast<std::size_t>(after)].right;
  if (right < 0) {
    Attach(s, after, false);
  } else {
    Attach(s, Leftmost(right), true);
  }
}

void ConnectedPath::Attach(std::int32_t s, std::int32_t parent, bool asLeft) {
  Stretch& p = stretches_[static_cast<std::size_t>(parent)];
  (asLeft ? p.left : p.right) = s;
  stretches_[static_cast<std::size_t>(s)].parent = parent;
  const std::int32_t n = stretches_[static_cast<std::size_t>(s)].points;
  for (std::int32_t x = parent; x >= 0; x = stretches_[static_cast<std::size_t>(x)].parent) {
    stretches_[static_cast<std::size_t>(x)].points += n;
  }
  while (stretches_[static_cast<std::size_t>(s)].parent >= 0 &&
         Priority(s) > Priority(stretches_[static_cast<std::size_t>(s)].parent)) {
    RotateUp(s);
  }
}

void ConnectedPath::RotateUp(std::int32_t s) {
  Stretch& x = stretches_[static_cast<std::size_t>(s)];
  const std::int32_t p = x.parent;
  Stretch& up = stretches_[static_cast<std::size_t>(p)];
  const std::int32_t g = up.parent;
  // The subtree between the two changes sides.
  std::int32_t inner = -1;
  if (up.left == s) {
    inner = x.right;
    up.left = inner;
    x.right = p;
  } else {
    inner = x.left;
    up.right = inner;
    x.left = p;
  }
  if (inner >= 0) {
    stretches_[static_cast<std::size_t>(inner)].parent = p;
  }
  up.parent = s;
  x.parent = g;
  if (g < 0) {
    root_ = s;
  } else {
    Stretch& above = stretches_[static_cast<std::size_t>(g)];
    (above.left == p ? above.left : above.right) = s;
  }
  up.points = up.length + PointsBelow(up.left) + PointsBelow(up.right);
  x.points = x.length + PointsBelow(x.left) + PointsBelow(x.right);
}

std::int32_t ConnectedPath::Next(std::int32_t s) const {
  const std::int32_t right = stretches_[static_cast<std::size_t>(s)].right;
  if (right >= 0) {
    return Leftmost(right);
  }
  // Up to the first stretch that s lies left of; past the last, round to the first.
  std::int32_t x = s;
  std::int32_t p = stretches_[static_cast<std::size_t>(x)].parent;
  while (p >= 0 && stretches_[static_cast<std::size_t>(p)].right == x) {
    x = p;
    p = stretches_[static_cast<std::size_t>(x)].parent;
  }
  return p >= 0 ? p : Leftmost(root_);
}

std::int32_t ConnectedPath::Rank(std::int32_t stretch, std::int32_t offset) const {
  std::int32_t rank = offset + PointsBelow(stretches_[static_cast<std::size_t>(stretch)].left);
  for (std::int32_t x = stretch;;) {
    const std::int32_t p = stretches_[static_cast<std::size_t>(x)].parent;
    if (p < 0) {
      return rank;
    }
    const Stretch& up = stretches_[static_cast<std::size_t>(p)];
    if (up.right == x) {
      rank += PointsBelow(up.left) + up.length;
    }
    x = p;
  }
}

std::int32_t ConnectedPath::PositionOf(std::int32_t stored, std::int32_t markRank) const {
  const std::int32_t s = stretchOf_[static_cast<std::size_t>(stored)];
  const std::int32_t at = Rank(s, stored - stretches_[static_cast<std::size_t>(s)].begin);
  return static_cast<std::int32_t>((std::int64_t{at} - markRank + total_) % total_) + 1;
}

void ConnectedPath::RotateTo(std::int32_t stored) {
  const std::int32_t s = stretchOf_[static_cast<std::size_t>(stored)];
  mark_ = {s, stored - stretches_[static_cast<std::size_t>(s)].begin};
  lastAppended_ = -1;
}

PointBox ConnectedPath::CellBox(std::int32_t x, std::int32_t y) const {
  // Cells at the grid's edge also hold the points beyond it.
  const std::int64_t cell = std::int64_t{1} << kCellShift;
  return {x == 0 ? INT64_MIN : x * cell, x == columns_ - 1 ? INT64_MAX : x * cell + cell - 1,
          y == 0 ? INT64_MIN : y * cell, y == rows_ - 1 ? INT64_MAX : y * cell + cell - 1};
}

template <typename Visit>
void ConnectedPath::VisitNear(const PointBox& box, const std::uint64_t& bound, Visit visit) const {
  const auto column = [this](std::int64_t x) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(x >> kCellShift, 0, columns_ - 1));
  };
  const auto row = [this](std::int64_t y) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(y >> kCellShift, 0, rows_ - 1));
  };
  const std::int32_t cx0 = column(box.x0), cx1 = column(box.x1);
  const std::int32_t cy0 = row(box.y0), cy1 = row(box.y1);
  const auto visitCell = [&](std::int32_t x, std::int32_t y) {
    if (x < 0 || x >= columns_ || CellBox(x, y).SquaredTo(box) > bound) {
      return;
    }
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                           static_cast<std::size_t>(x);
    for (std::int32_t e = cellHead_[at]; e >= 0; e = nextInCell_[static_cast<std::size_t>(e)]) {
      visit(e);
    }
  };
  const std::int32_t rings = std::max(columns_, rows_);
  for (std::int32_t k = 0; k <= rings; ++k) {
    // Every cell of ring k lies at least k - 1 cells and a pixel away on one axis.
    if (k > 0 && SquaredSum((std::int64_t{k} - 1) * (std::int64_t{1} << kCellShift) + 1, 0) > bound) {
      break;
    }
    for (std::int32_t y = std::max(cy0 - k, 0); y <= std::min(cy1 + k, rows_ - 1); ++y) {
      if (k == 0 || y == cy0 - k || y == cy1 + k) {
        for (std::int32_t x = cx0 - k; x <= cx1 + k; ++x) visitCell(x, y);
      } else {
        visitCell(cx0 - k, y);
        visitCell(cx1 + k, y);
      }
    }
  }
}

ConnectedPath::Pair ConnectedPath::FindNearestPair(const ContourPoints& newer, float limit) {
  Pair pair;
  if (total_ == 0) {
    return pair;
  }
  // One sweep over newer, a run of consecutive points at a time: the stored points near
  // the run's small bounding box are held against each point of the run. It keeps the
  // smallest squared distance, least, and the pairs at least's float distance, whose
  // squared distances lie up to bound: a closer pair at another float distance drops
  // them.
  std::uint64_t least = UINT64_MAX;
  std::uint64_t bound = UINT64_MAX;
  ties_.clear();
  const auto upper = static_cast<std::int32_t>(newer.size()) - 1;
  for (std::int32_t from = 1; from <= upper; from += kRunPoints) {
    const std::int32_t to = std::min(upper, from + kRunPoints - 1);
    PointBox run;
    for (std::int32_t j = from; j <= to; ++j) {
      if (!IsSeparator(newer[static_cast<std::size_t>(j)])) run.Add(newer[static_cast<std::size_t>(j)]);
    }
    if (run.Empty()) continue;
    VisitNear(run, bound, [&](std::int32_t e) {
      const ContourPoint& p = store_[static_cast<std::size_t>(e)];
      if (run.SquaredTo(p) > bound) return;
      for (std::int32_t j = from; j <= to; ++j) {
        const ContourPoint& q = newer[static_cast<std::size_t>(j)];
        const std::uint64_t d = SquaredDistance(p, q);
        if (IsSeparator(q) || d > bound) continue;
        if (d < least) {
          least = d;
          const std::uint64_t last = LastSquaredAtDistance(least);
          if (last < bound) ties_.clear();
          bound = last;
        }
        ties_.push_back({e, j});
      }
    });
  }
  const float best = least == UINT64_MAX ? limit : FloatDistance(least);
  if (!(best < limit)) {
    return pair;
  }
  // Of the pairs at the float distance best, the one first by path position, then by
  // newer position.
  pair.swept = true;
  const std::int32_t markRank = Rank(mark_.stretch, mark_.offset);
  for (const Tie& tie : ties_) {
    const std::int32_t position = PositionOf(tie.stored, markRank);
    if (pair.position == 0 || position < pair.position ||
        (position == pair.position && tie.newer < pair.newer)) {
      pair = {position, tie.newer, tie.stored, true};
    }
  }
  return pair;
}

void ConnectedPath::MoveTo(ContourPoints& out) {
  std::vector<std::int32_t>().swap(cellHead_);
  std::vector<std::int32_t>().swap(nextInCell_);
  std::vector<std::int32_t>().swap(stretchOf_);
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
  for (std::int32_t s = Next(mark_.stretch); s != mark_.stretch; s = Next(s)) {
    const Stretch& stretch = stretches_[static_cast<std::size_t>(s)];
    copy(stretch, 0, stretch.length);
  }
  copy(marked, 0, mark_.offset);
  *this = ConnectedPath();
}

}  // namespace morvane::engine
