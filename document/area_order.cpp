#include "document/area_order.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace morvane::document {
namespace {

using engine::ContourPoint;
using Outline = std::span<const ContourPoint>;

// Products of coordinate differences need 65 bits and more.
__extension__ typedef __int128 Wide;

struct Box {
  std::int32_t minX = std::numeric_limits<std::int32_t>::max();
  std::int32_t minY = std::numeric_limits<std::int32_t>::max();
  std::int32_t maxX = std::numeric_limits<std::int32_t>::min();
  std::int32_t maxY = std::numeric_limits<std::int32_t>::min();

  bool Empty() const { return minX > maxX; }
  bool Holds(const Box& b) const {
    return minX <= b.minX && maxX >= b.maxX && minY <= b.minY && maxY >= b.maxY;
  }
};

Box BoxOf(Outline points) {
  Box box;
  for (const ContourPoint& p : points) {
    box.minX = std::min(box.minX, p.x);
    box.maxX = std::max(box.maxX, p.x);
    box.minY = std::min(box.minY, p.y);
    box.maxY = std::max(box.maxY, p.y);
  }
  return box;
}

// The enclosed area, twice over and unsigned; only compared.
double AreaOf(Outline points) {
  double sum = 0;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const ContourPoint& a = points[k];
    const ContourPoint& b = points[(k + 1) % points.size()];
    sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return std::fabs(sum);
}

enum class Where { kOutside, kInside, kOnOutline };

// Point tests against one closed outline. An outline of many edges gets, on its first
// test, an index of its edges by bands of rows, so a test looks at the few edges of
// the point's band instead of all of them.
class PointTest {
 public:
  explicit PointTest(Outline points, const Box& box) : points_(points), box_(box) {}

  Where Locate(ContourPoint p) {
    if (p.y < box_.minY || p.y > box_.maxY || p.x < box_.minX || p.x > box_.maxX) return Where::kOutside;
    const std::size_t n = points_.size();
    if (n < kIndexFrom) {
      Crossings c;
      for (std::size_t k = 0; k < n; ++k) c.Edge(points_[k], points_[(k + 1) % n], p);
      return c.Result();
    }
    if (bandStart_.empty()) BuildIndex();
    const auto band = static_cast<std::size_t>((std::int64_t{p.y} - box_.minY) / bandHeight_);
    Crossings c;
    for (std::uint32_t at = bandStart_[band]; at < bandStart_[band + 1]; ++at) {
      const std::size_t k = edges_[at];
      c.Edge(points_[k], points_[(k + 1) % n], p);
    }
    return c.Result();
  }

 private:
  static constexpr std::size_t kIndexFrom = 64;
  static constexpr std::int64_t kEdgesPerBand = 8;

  // Even-odd crossings of a ray from the point towards +x, and whether the point lies
  // on an edge.
  struct Crossings {
    bool inside = false;
    bool onOutline = false;

    void Edge(ContourPoint a, ContourPoint b, ContourPoint p) {
      if (onOutline) return;
      const std::int64_t ax = a.x, ay = a.y, bx = b.x, by = b.y, px = p.x, py = p.y;
      const Wide cross = Wide{bx - ax} * (py - ay) - Wide{by - ay} * (px - ax);
      if (cross == 0 && px >= std::min(ax, bx) && px <= std::max(ax, bx) && py >= std::min(ay, by) &&
          py <= std::max(ay, by)) {
        onOutline = true;
        return;
      }
      if ((ay > py) == (by > py)) return;
      // The edge crosses the point's row right of it when the point is left of the
      // edge, seen in the edge's upward or downward direction.
      if ((by > ay) ? cross > 0 : cross < 0) inside = !inside;
    }
    Where Result() const {
      return onOutline ? Where::kOnOutline : inside ? Where::kInside : Where::kOutside;
    }
  };

  void BuildIndex() {
    const std::size_t n = points_.size();
    const std::int64_t rows = std::int64_t{box_.maxY} - box_.minY + 1;
    const auto edges = static_cast<std::int64_t>(n);
    const std::int64_t bands = std::clamp<std::int64_t>(edges / kEdgesPerBand, 1, rows);
    // An edge goes into each band it spans; bands are made tall enough that edges
    // spanning many of them (a zigzag from top to bottom) fill no more than a few
    // entries per edge in all.
    std::int64_t spans = 0;
    for (std::size_t k = 0; k < n; ++k) {
      spans += std::abs(std::int64_t{points_[(k + 1) % n].y} - points_[k].y);
    }
    bandHeight_ = std::max((rows + bands - 1) / bands,
                           (spans + kEdgesPerBand * edges - 1) / (kEdgesPerBand * edges));
    const auto bandOf = [&](std::int32_t y) {
      return static_cast<std::size_t>((std::int64_t{y} - box_.minY) / bandHeight_);
    };
    bandStart_.assign(static_cast<std::size_t>((rows + bandHeight_ - 1) / bandHeight_) + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
      const ContourPoint a = points_[k], b = points_[(k + 1) % n];
      for (std::size_t band = bandOf(std::min(a.y, b.y)); band <= bandOf(std::max(a.y, b.y)); ++band)
        ++bandStart_[band + 1];
    }
    std::partial_sum(bandStart_.begin(), bandStart_.end(), bandStart_.begin());
    edges_.resize(bandStart_.back());
    std::vector<std::uint32_t> fill(bandStart_.begin(), bandStart_.end() - 1);
    for (std::size_t k = 0; k < n; ++k) {
      const ContourPoint a = points_[k], b = points_[(k + 1) % n];
      for (std::size_t band = bandOf(std::min(a.y, b.y)); band <= bandOf(std::max(a.y, b.y)); ++band)
        edges_[fill[band]++] = static_cast<std::uint32_t>(k);
    }
  }

  Outline points_;
  Box box_;
  std::int64_t bandHeight_ = 1;
  std::vector<std::uint32_t> bandStart_;  // edges of band b: edges_[bandStart_[b] .. bandStart_[b + 1])
  std::vector<std::uint32_t> edges_;
};

}  // namespace

std::vector<std::size_t> InnermostFirst(const std::vector<Outline>& contours) {
  const std::size_t n = contours.size();
  std::vector<Box> boxes(n);
  std::vector<double> areas(n);
  std::vector<PointTest> tests;
  tests.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    boxes[k] = BoxOf(contours[k]);
    areas[k] = AreaOf(contours[k]);
    tests.emplace_back(contours[k], boxes[k]);
  }

  // Whether contour a lies inside contour b (whose area is the larger).
  const auto inside = [&](std::size_t a, std::size_t b) {
    for (const ContourPoint& p : contours[a]) {
      const Where where = tests[b].Locate(p);
      if (where != Where::kOnOutline) return where == Where::kInside;
    }
    return true;
  };

  // The sweep: contours by the left edge of their box. Those whose box reaches the
  // sweep's column stay active; a contour's candidates are the active ones whose box
  // holds its own. Its parent is the smallest that holds it: the next outline out.
  // Contours without points nest nowhere.
  std::vector<std::size_t> byLeft;
  for (std::size_t k = 0; k < n; ++k) {
    if (!boxes[k].Empty()) byLeft.push_back(k);
  }
  std::stable_sort(byLeft.begin(), byLeft.end(),
                   [&](std::size_t a, std::size_t b) { return boxes[a].minX < boxes[b].minX; });
  std::vector<std::ptrdiff_t> parent(n, -1);
  std::vector<std::size_t> active, candidates;
  for (std::size_t group = 0; group < byLeft.size();) {
    std::size_t end = group;
    const std::int32_t column = boxes[byLeft[group]].minX;
    while (end < byLeft.size() && boxes[byLeft[end]].minX == column) ++end;
    std::erase_if(active, [&](std::size_t b) { return boxes[b].maxX < column; });
    active.insert(active.end(), byLeft.begin() + static_cast<std::ptrdiff_t>(group),
                  byLeft.begin() + static_cast<std::ptrdiff_t>(end));
    for (std::size_t at = group; at < end; ++at) {
      const std::size_t a = byLeft[at];
      candidates.clear();
      for (std::size_t b : active) {
        if (areas[b] > areas[a] && boxes[b].Holds(boxes[a])) candidates.push_back(b);
      }
      std::sort(candidates.begin(), candidates.end(), [&](std::size_t x, std::size_t y) {
        return areas[x] != areas[y] ? areas[x] < areas[y] : x < y;
      });
      for (std::size_t b : candidates) {
        if (inside(a, b)) {
          parent[a] = static_cast<std::ptrdiff_t>(b);
          break;
        }
      }
    }
    group = end;
  }

  // Depths from the outside in: a parent is always the larger.
  std::vector<std::size_t> byArea(n);
  std::iota(byArea.begin(), byArea.end(), std::size_t{0});
  std::stable_sort(byArea.begin(), byArea.end(),
                   [&](std::size_t a, std::size_t b) { return areas[a] > areas[b]; });
  std::vector<std::size_t> depth(n, 0);
  for (std::size_t a : byArea) {
    if (parent[a] >= 0) depth[a] = depth[static_cast<std::size_t>(parent[a])] + 1;
  }
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return depth[a] > depth[b]; });
  return order;
}

}  // namespace morvane::document
