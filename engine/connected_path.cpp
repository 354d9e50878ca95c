#include "engine/connected_path.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "platform/core/large_pages.h"

namespace morvane::engine {

void ConnectedPath::Reset(std::int32_t width, std::int32_t height) {
  store_.clear();
  links_.clear();
  stretches_.clear();
  root_ = -1;
  mark_ = Mark{};
  total_ = 0;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  cellShift_ = kWidestShift;
  BuildGrid();
}

void ConnectedPath::Reserve(std::int64_t edges) {
  // A contour has about a point per edge it runs along, and each contour adds two: the
  // way back to the junction and its first point again. Most points per edge take the
  // smallest contours, a one-pixel hole's four edges and six points; every contour has
  // four edges or more, and adds a stretch and splits at most one.
  const std::int64_t points = edges + edges / 2;
  const auto room = static_cast<std::size_t>(std::clamp<std::int64_t>(points, 0, kMostReserved));
  stretches_.reserve(room / 3);
  // One more for element 0 of the array the store becomes.
  store_.reserve(room + 1);
  links_.reserve(room);
  // Written from the front as the path grows.
  core::AskForLargePages(stretches_);
  core::AskForLargePages(store_);
  core::AskForLargePages(links_);
}

void ConnectedPath::Reset(std::int32_t width, std::int32_t height, ContourPoints& spare) {
  if (spare.capacity() > store_.capacity()) {
    store_.swap(spare);
  }
  ResetPoints(spare);
  Reset(width, height);
}

const ContourPoint& ConnectedPath::First() const {
  const Stretch& s = stretches_[static_cast<std::size_t>(mark_.stretch)];
  return store_[static_cast<std::size_t>(s.begin + mark_.offset)];
}

std::size_t ConnectedPath::CellOf(std::int32_t x, std::int32_t y) const {
  const std::int32_t cx = std::clamp(x >> cellShift_, 0, columns_ - 1);
  const std::int32_t cy = std::clamp(y >> cellShift_, 0, rows_ - 1);
  return static_cast<std::size_t>(cy) * static_cast<std::size_t>(columns_) +
         static_cast<std::size_t>(cx);
}

void ConnectedPath::AddToGrid(std::int32_t stored) {
  const ContourPoint& p = store_[static_cast<std::size_t>(stored)];
  std::int32_t& head = cellHead_[CellOf(p.x, p.y)];
  occupied_ += head < 0 ? 1 : 0;
  links_[static_cast<std::size_t>(stored)].nextInCell = head;
  head = stored;
}

void ConnectedPath::BuildGrid() {
  const std::int32_t cell = std::int32_t{1} << cellShift_;
  columns_ = std::max<std::int32_t>(1, (width_ + cell - 1) >> cellShift_);
  rows_ = std::max<std::int32_t>(1, (height_ + cell - 1) >> cellShift_);
  cellHead_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), -1);
  occupied_ = 0;
  for (std::size_t k = 0; k < store_.size(); ++k) {
    AddToGrid(static_cast<std::int32_t>(k));
  }
}

void ConnectedPath::RefineGrid() {
  // Crowded cells make every search read many far points; cells half as wide, while
  // they stay fewer than the points, hold a quarter as many. The grid is built anew
  // each time, at most a few times a run.
  const std::size_t finerCells = static_cast<std::size_t>((width_ >> (cellShift_ - 1)) + 1) *
                                 static_cast<std::size_t>((height_ >> (cellShift_ - 1)) + 1);
  if (cellShift_ > kFinestShift && store_.size() > occupied_ * kCellPoints &&
      finerCells <= store_.size()) {
    --cellShift_;
    BuildGrid();
  }
}

void ConnectedPath::AppendFigure(const ContourPoints& figure) {
  if (UpperBound(figure) == 0) {
    return;
  }
  // One stretch at the end of the store, in front of the mark: the way back to the
  // junction, the figure, and the figure's first point again.
  const auto first = static_cast<std::int32_t>(store_.size());
  if (total_ > 0) {
    const ContourPoint junction = First();
    store_.push_back(junction);
  }
  store_.insert(store_.end(), figure.begin() + 1, figure.end());
  store_.push_back(figure[1]);
  links_.resize(store_.size());
  const auto added = static_cast<std::int32_t>(store_.size()) - first;
  for (std::int32_t k = first; k < first + added; ++k) {
    AddToGrid(k);
  }
  total_ += added;
  const std::int32_t s = NewStretch(first, added);
  if (root_ < 0) {
    root_ = s;
    mark_ = {s, 0};
  } else {
    if (mark_.offset > 0) {
      SplitAtMark();
    }
    InsertBefore(s, mark_.stretch);
  }
  RefineGrid();
}

std::int32_t ConnectedPath::NewStretch(std::int32_t begin, std::int32_t length) {
  const auto s = static_cast<std::int32_t>(stretches_.size());
  Stretch stretch;
  stretch.begin = begin;
  stretch.length = length;
  stretches_.push_back(stretch);
  for (std::int32_t k = begin; k < begin + length; ++k) {
    links_[static_cast<std::size_t>(k)].stretch = s;
  }
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
  // At the root no other stretch counts the points.
  Splay(s);
  stretches_[static_cast<std::size_t>(s)].length += n;
}

void ConnectedPath::InsertBefore(std::int32_t s, std::int32_t before) {
  // s becomes the root, with before's left side on its left and before on its right.
  Splay(before);
  Stretch& b = stretches_[static_cast<std::size_t>(before)];
  Stretch& n = stretches_[static_cast<std::size_t>(s)];
  n.left = b.left;
  n.leftPoints = b.leftPoints;
  if (n.left >= 0) {
    stretches_[static_cast<std::size_t>(n.left)].parent = s;
  }
  b.left = -1;
  b.leftPoints = 0;
  n.right = before;
  n.rightPoints = b.length + b.rightPoints;
  b.parent = s;
  n.parent = -1;
  root_ = s;
}

void ConnectedPath::InsertAfter(std::int32_t s, std::int32_t after) {
  Splay(after);
  Stretch& a = stretches_[static_cast<std::size_t>(after)];
  Stretch& n = stretches_[static_cast<std::size_t>(s)];
  n.right = a.right;
  n.rightPoints = a.rightPoints;
  if (n.right >= 0) {
    stretches_[static_cast<std::size_t>(n.right)].parent = s;
  }
  a.right = -1;
  a.rightPoints = 0;
  n.left = after;
  n.leftPoints = a.leftPoints + a.length;
  a.parent = s;
  n.parent = -1;
  root_ = s;
}

std::int32_t ConnectedPath::NextInPath(std::int32_t s) const {
  // The leftmost of the right subtree, else the first ancestor that s lies left of;
  // after the last stretch comes the first. A walk over the whole path reads each link
  // about twice.
  const auto at = [this](std::int32_t k) -> const Stretch& { return stretches_[static_cast<std::size_t>(k)]; };
  std::int32_t x = at(s).right;
  if (x < 0) {
    x = s;
    while (at(x).parent >= 0 && at(at(x).parent).right == x) {
      x = at(x).parent;
    }
    x = at(x).parent;
    if (x >= 0) {
      return x;
    }
    x = root_;
  }
  while (at(x).left >= 0) {
    x = at(x).left;
  }
  return x;
}

void ConnectedPath::Splay(std::int32_t s) {
  // Two levels at a time: where both links bend the same way the parent goes up
  // first, which is what keeps the paths short on average.
  for (;;) {
    const std::int32_t p = stretches_[static_cast<std::size_t>(s)].parent;
    if (p < 0) {
      return;
    }
    const std::int32_t g = stretches_[static_cast<std::size_t>(p)].parent;
    if (g >= 0) {
      const bool sameWay = (stretches_[static_cast<std::size_t>(p)].left == s) ==
                           (stretches_[static_cast<std::size_t>(g)].left == p);
      RotateUp(sameWay ? p : s);
    }
    RotateUp(s);
  }
}

void ConnectedPath::RotateUp(std::int32_t s) {
  Stretch& x = stretches_[static_cast<std::size_t>(s)];
  const std::int32_t p = x.parent;
  Stretch& up = stretches_[static_cast<std::size_t>(p)];
  const std::int32_t g = up.parent;
  // The subtree between the two changes sides, and with it its count.
  std::int32_t inner = -1;
  if (up.left == s) {
    inner = x.right;
    up.left = inner;
    up.leftPoints = x.rightPoints;
    x.right = p;
    x.rightPoints = up.leftPoints + up.length + up.rightPoints;
  } else {
    inner = x.left;
    up.right = inner;
    up.rightPoints = x.leftPoints;
    x.left = p;
    x.leftPoints = up.leftPoints + up.length + up.rightPoints;
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
}

std::int32_t ConnectedPath::Rank(std::int32_t stretch, std::int32_t offset) {
  // Read off on the way up to the root while the stretch lies shallow; a deeper one is
  // splayed, so that it is not as deep the next time and the tree stays shallow on
  // average. Splaying every stretch ranked would cost several times the walk.
  std::int32_t rank = offset + stretches_[static_cast<std::size_t>(stretch)].leftPoints;
  std::int32_t x = stretch;
  for (std::int32_t depth = 0; depth < kShallowDepth; ++depth) {
    const std::int32_t p = stretches_[static_cast<std::size_t>(x)].parent;
    if (p < 0) {
      return rank;
    }
    const Stretch& up = stretches_[static_cast<std::size_t>(p)];
    rank += up.right == x ? up.leftPoints + up.length : 0;
    x = p;
  }
  Splay(stretch);
  return offset + stretches_[static_cast<std::size_t>(stretch)].leftPoints;
}

std::int32_t ConnectedPath::PositionFrom(std::int32_t rank, std::int32_t markRank) const {
  // Both ranks lie below total_: one wrap at most, without a division.
  const std::int32_t from = rank - markRank;
  return (from < 0 ? from + total_ : from) + 1;
}

void ConnectedPath::RotateTo(std::int32_t stored) {
  const std::int32_t s = links_[static_cast<std::size_t>(stored)].stretch;
  mark_ = {s, stored - stretches_[static_cast<std::size_t>(s)].begin};
}

PointBox ConnectedPath::CellBox(std::int32_t x, std::int32_t y) const {
  // Cells at the grid's edge also hold the points beyond it.
  const std::int64_t cell = std::int64_t{1} << cellShift_;
  return {x == 0 ? INT64_MIN : x * cell, x == columns_ - 1 ? INT64_MAX : x * cell + cell - 1,
          y == 0 ? INT64_MIN : y * cell, y == rows_ - 1 ? INT64_MAX : y * cell + cell - 1};
}

void ConnectedPath::ScanNear(PairSearch& search) {
  const PointBox& box = search.box;
  const auto column = [this](std::int64_t x) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(x >> cellShift_, 0, columns_ - 1));
  };
  const auto row = [this](std::int64_t y) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(y >> cellShift_, 0, rows_ - 1));
  };
  const std::int32_t cx0 = column(box.x0), cx1 = column(box.x1);
  const std::int32_t cy0 = row(box.y0), cy1 = row(box.y1);
  // The cells of ring 0 meet the box: only farther cells can lie beyond bound.
  const auto scanCell = [&](std::int32_t x, std::int32_t y, bool far) {
    const std::int32_t head =
        cellHead_[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(x)];
    if (head >= 0 && (!far || CellBox(x, y).SquaredTo(box) <= search.bound)) {
      ScanChain(head, search);
    }
  };
  const std::int32_t rings = std::max(columns_, rows_);
  for (std::int32_t k = 0; k <= rings; ++k) {
    // Every cell of ring k lies at least k - 1 cells and a pixel away on one axis.
    if (k > 0 &&
        SquaredSum((std::int64_t{k} - 1) * (std::int64_t{1} << cellShift_) + 1, 0) > search.bound) {
      break;
    }
    // Of the ring, only the cells that meet the near box can hold a point within bound.
    const std::int32_t left = cx0 - k, right = cx1 + k, top = cy0 - k, bottom = cy1 + k;
    const std::int32_t x0 = std::max(left, column(search.near.x0));
    const std::int32_t x1 = std::min(right, column(search.near.x1));
    const std::int32_t y1 = std::min(bottom, row(search.near.y1));
    for (std::int32_t y = std::max(top, row(search.near.y0)); y <= y1; ++y) {
      if (k == 0 || y == top || y == bottom) {
        for (std::int32_t x = x0; x <= x1; ++x) scanCell(x, y, k > 0);
      } else {
        if (left >= x0) scanCell(left, y, true);
        if (right <= x1) scanCell(right, y, true);
      }
    }
  }
}

void ConnectedPath::ScanChain(std::int32_t head, PairSearch& search) {
  // The loop that most of the search's time goes through, kept to locals: only a point
  // within the near box goes on to the pairs, and only a closer pair changes the box.
  const ContourPoint* const store = store_.data();
  const PointLinks* const links = links_.data();
  PointBox near = search.near;
  for (std::int32_t e = head; e >= 0; e = links[e].nextInCell) {
    const ContourPoint p = store[e];
    // One test of the four sides, not four jumps: whether a point lies in the box is
    // hard to foresee.
    if (!((p.x >= near.x0) & (p.x <= near.x1) & (p.y >= near.y0) & (p.y <= near.y1))) {
      continue;
    }
    if (TakePairs(e, p, search)) {
      near = search.near;
    }
  }
}

bool ConnectedPath::TakePairs(std::int32_t stored, const ContourPoint& p, PairSearch& search) {
  std::array<std::uint64_t, kRunPoints> squared;
  if (search.compact) {
    // p and the run lie within a box less than 2^15 wide: the squares fit 32 bits.
    for (std::size_t k = 0; k < kRunPoints; ++k) {
      const std::int32_t dx = p.x - search.run[k].x;
      const std::int32_t dy = p.y - search.run[k].y;
      squared[k] = static_cast<std::uint32_t>(dx * dx + dy * dy);
    }
  } else {
    if (search.box.SquaredTo(p) > search.bound) {
      return false;
    }
    for (std::size_t k = 0; k < kRunPoints; ++k) {
      squared[k] = SquaredDistance(p, search.run[k]);
    }
  }
  std::uint64_t closest = squared[0];
  for (std::size_t k = 1; k < kRunPoints; ++k) {
    closest = std::min(closest, squared[k]);
  }
  if (closest > search.bound) {
    return false;
  }
  const bool closer = closest < search.least;
  if (closer) {
    // A closer pair at another float distance drops the pairs kept so far.
    search.least = closest;
    const std::uint64_t last = LastSquaredAtDistance(closest);
    if (last < search.bound) {
      ties_.clear();
    }
    search.bound = last;
    search.Widen();
  }
  // The first of the run within bound: its position in newer is the smallest. Read off
  // a mask of the run rather than found by a loop whose end the processor cannot guess.
  unsigned within = 0;
  for (std::size_t k = 0; k < kRunPoints; ++k) {
    within |= (squared[k] <= search.bound ? 1u : 0u) << k;
  }
  AddTie(stored, search.runAt[static_cast<std::size_t>(std::countr_zero(within))]);
  return closer;
}

std::int64_t ConnectedPath::PathOrder(std::int32_t stored, std::int32_t stretch) const {
  if (stretch != mark_.stretch) {
    return stored;
  }
  const std::int32_t marked = stretches_[static_cast<std::size_t>(stretch)].begin + mark_.offset;
  return stored < marked ? std::int64_t{stored} + total_ : stored;
}

void ConnectedPath::AddTie(std::int32_t stored, std::int32_t newer) {
  // A chain visits the points of one figure one after another: a tie mostly lies in the
  // stretch of the one before it. The same stored point again comes from a later run,
  // farther in newer, and loses.
  const std::int32_t s = links_[static_cast<std::size_t>(stored)].stretch;
  if (!ties_.empty() && ties_.back().stretch == s) {
    if (PathOrder(stored, s) < PathOrder(ties_.back().stored, s)) {
      ties_.back() = {stored, newer, s};
    }
    return;
  }
  ties_.push_back({stored, newer, s});
}

void ConnectedPath::PairSearch::Widen() {
  // No point farther than reach from the run's box on either axis lies within bound.
  auto reach = static_cast<std::int64_t>(std::sqrt(static_cast<double>(bound)));
  while (reach > 0 && static_cast<std::uint64_t>(reach) * static_cast<std::uint64_t>(reach) > bound) {
    --reach;
  }
  while (reach < (std::int64_t{1} << 32) &&
         static_cast<std::uint64_t>(reach + 1) * static_cast<std::uint64_t>(reach + 1) <= bound) {
    ++reach;
  }
  near = {box.x0 - reach, box.x1 + reach, box.y0 - reach, box.y1 + reach};
  compact = near.x1 - near.x0 < (std::int64_t{1} << 15) && near.y1 - near.y0 < (std::int64_t{1} << 15);
}

ConnectedPath::Pair ConnectedPath::FindNearestPair(const ContourPoints& newer, float limit) {
  Pair pair;
  if (total_ == 0) {
    return pair;
  }
  // One sweep over newer, a run of consecutive points at a time: the stored points near
  // the run's small bounding box are held against each point of the run. It keeps the
  // smallest squared distance and the pairs at its float distance.
  PairSearch search;
  ties_.clear();
  const auto upper = static_cast<std::int32_t>(newer.size()) - 1;
  for (std::int32_t from = 1; from <= upper; from += kRunPoints) {
    std::size_t count = 0;
    search.box = PointBox();
    for (std::int32_t j = from; j <= std::min(upper, from + kRunPoints - 1); ++j) {
      const ContourPoint& q = newer[static_cast<std::size_t>(j)];
      if (!IsSeparator(q)) {
        search.box.Add(q);
        search.run[count] = q;
        search.runAt[count++] = j;
      }
    }
    if (count > 0) {
      for (std::size_t k = count; k < kRunPoints; ++k) {
        search.run[k] = search.run[0];
        search.runAt[k] = search.runAt[0];
      }
      search.Widen();
      ScanNear(search);
    }
  }
  const float best = search.least == UINT64_MAX ? limit : FloatDistance(search.least);
  if (!(best < limit)) {
    return pair;
  }
  // Of the pairs at the float distance best, the one first by path position, then by
  // newer position. Sorted by stretch, each stretch's ties are compared in path order
  // and only the first is ranked.
  pair.swept = true;
  const std::int32_t markRank = Rank(mark_.stretch, mark_.offset);
  std::sort(ties_.begin(), ties_.end(), [](const Tie& a, const Tie& b) { return a.stretch < b.stretch; });
  const auto before = [this](const Tie& a, const Tie& b) {
    const std::int64_t orderA = PathOrder(a.stored, a.stretch);
    const std::int64_t orderB = PathOrder(b.stored, b.stretch);
    return orderA < orderB || (orderA == orderB && a.newer < b.newer);
  };
  // The stretch of the pair taken is splayed next, when the path is extended at it: a
  // stretch that holds every tie is splayed here and read at the root, which spares the
  // walk up to it.
  const bool oneStretch = ties_.front().stretch == ties_.back().stretch;
  for (std::size_t k = 0; k < ties_.size();) {
    Tie first = ties_[k];
    for (++k; k < ties_.size() && ties_[k].stretch == first.stretch; ++k) {
      if (before(ties_[k], first)) {
        first = ties_[k];
      }
    }
    const std::int32_t offset = first.stored - stretches_[static_cast<std::size_t>(first.stretch)].begin;
    if (oneStretch) {
      Splay(first.stretch);
    }
    const std::int32_t position = PositionFrom(Rank(first.stretch, offset), markRank);
    if (pair.position == 0 || position < pair.position ||
        (position == pair.position && first.newer < pair.newer)) {
      pair = {position, first.newer, first.stored, true};
    }
  }
  return pair;
}

void ConnectedPath::MoveTo(ContourPoints& out) {
  // The array is written into the store's own memory, whose pages are in place, and
  // not into as much fresh memory: the store is first set aside in the links' memory,
  // of the same size and needed no more, and then written back in path order behind
  // element 0. Both hold two 32-bit numbers a point, so the bytes are copied as they
  // are.
  static_assert(sizeof(PointLinks) == sizeof(ContourPoint));
  static_assert(std::is_trivially_copyable_v<PointLinks> && std::is_trivially_copyable_v<ContourPoint>);
  // A large path lets go of its memory afterwards; a modest one keeps it for the next
  // run, whose pages are then in place.
  const bool keep = store_.size() <= kKeepPoints;
  if (!keep) {
    std::vector<std::int32_t>().swap(cellHead_);
  }
  const std::size_t points = store_.size();
  if (points > 0) {
    std::memcpy(static_cast<void*>(links_.data()), store_.data(), points * sizeof(ContourPoint));
  }
  const auto* const aside = reinterpret_cast<const unsigned char*>(links_.data());
  store_.resize(points + 1);
  ContourPoint* at = store_.data();
  *at++ = ContourPoint{};
  if (total_ > 0) {
    const auto copy = [&](const Stretch& s, std::int32_t from, std::int32_t end) {
      const auto n = static_cast<std::size_t>(end - from);
      std::memcpy(static_cast<void*>(at), aside + static_cast<std::size_t>(s.begin + from) * sizeof(ContourPoint),
                  n * sizeof(ContourPoint));
      at += n;
    };
    const Stretch& marked = stretches_[static_cast<std::size_t>(mark_.stretch)];
    copy(marked, mark_.offset, marked.length);
    for (std::int32_t s = NextInPath(mark_.stretch); s != mark_.stretch; s = NextInPath(s)) {
      const Stretch& stretch = stretches_[static_cast<std::size_t>(s)];
      copy(stretch, 0, stretch.length);
    }
    copy(marked, 0, mark_.offset);
  }
  // out's own memory becomes the store's.
  out.swap(store_);
  if (keep) {
    Reset(0, 0);
  } else {
    *this = ConnectedPath();
  }
}

}  // namespace morvane::engine
