#include "document/area_order.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

namespace morvane::document {
namespace {

using engine::ContourPoint;
using Outline = std::vector<ContourPoint>;

std::vector<std::size_t> Order(const std::vector<Outline>& outlines) {
  std::vector<std::span<const ContourPoint>> spans(outlines.begin(), outlines.end());
  return InnermostFirst(spans);
}

Outline Square(int left, int top, int size) {
  return {{left, top}, {left + size, top}, {left + size, top + size}, {left, top + size}};
}

// Even-odd, written plainly.
bool Holds(const Outline& p, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].y > y) != (p[j].y > y) &&
        x < p[j].x + (y - p[j].y) * (p[i].x - p[j].x) / static_cast<double>(p[i].y - p[j].y)) {
      inside = !inside;
    }
  }
  return inside;
}

TEST(InnermostFirstTest, InnerContoursComeBeforeTheOnesAroundThem) {
  struct Case {
    const char* what;
    std::vector<Outline> outlines;
    std::vector<std::size_t> order;
  };
  const Case cases[] = {
      {"nothing", {}, {}},
      {"apart: as they are", {Square(0, 0, 5), Square(10, 0, 5), Square(20, 0, 5)}, {0, 1, 2}},
      {"a hole after its figure", {Square(0, 0, 10), Square(2, 2, 5)}, {1, 0}},
      {"three deep, outermost first",
       {Square(0, 0, 30), Square(5, 5, 20), Square(10, 10, 5), Square(50, 0, 5)},
       {2, 1, 0, 3}},
      {"three deep, innermost first already", {Square(10, 10, 5), Square(5, 5, 20), Square(0, 0, 30)}, {0, 1, 2}},
      {"in the box but not in the outline",
       {{{0, 0}, {20, 0}, {0, 20}}, Square(14, 14, 4)},
       {0, 1}},
      {"every vertex on the other's outline: the smaller is inside",
       {Square(0, 0, 10), {{0, 0}, {10, 0}, {10, 10}}},
       {1, 0}},
      {"the same outline twice: neither is inside", {Square(0, 0, 10), Square(0, 0, 10)}, {0, 1}},
      {"one point and an empty contour",
       {Square(0, 0, 10), {{5, 5}}, {}, {{20, 20}}},
       {1, 0, 2, 3}},
      {"far out coordinates",
       {{{-2147483647 - 1, 0}, {2147483647, 0}, {2147483647, 2147483647}, {-2147483647 - 1, 2147483647}},
        Square(0, 5, 100)},
       {1, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(Order(c.outlines), c.order) << c.what;
}

// A large outline is tested through its index of edges: squares all around its edge,
// some in, some out, each must be found where a plain test finds it.
TEST(InnermostFirstTest, ALargeOutlineIsTestedAsAPlainTestWould) {
  for (int vertices : {100, 4000}) {
    SCOPED_TRACE(vertices);
    std::vector<Outline> outlines(1);
    for (int k = 0; k < vertices; ++k) {
      // A wavy ring, so that rows cross it many times.
      const double a = 2 * M_PI * k / vertices;
      const double r = 1000 + 150 * std::sin(7 * a);
      outlines[0].push_back({static_cast<int>(std::lround(2000 + r * std::cos(a))),
                             static_cast<int>(std::lround(2000 + r * std::sin(a)))});
    }
    std::vector<bool> inside = {false};
    for (int y = 800; y <= 3200; y += 71) {
      for (int x = 800; x <= 3200; x += 67) {
        outlines.push_back(Square(x, y, 1));
        bool in = true;
        for (const ContourPoint& p : outlines.back()) in = in && Holds(outlines[0], p.x, p.y);
        bool out = true;
        for (const ContourPoint& p : outlines.back()) out = out && !Holds(outlines[0], p.x, p.y);
        if (!in && !out) {
          outlines.pop_back();  // across the outline: neither in nor out
          continue;
        }
        inside.push_back(in);
      }
    }
    std::vector<std::size_t> expected;
    for (std::size_t k = 1; k < outlines.size(); ++k) {
      if (inside[k]) expected.push_back(k);
    }
    expected.push_back(0);
    for (std::size_t k = 1; k < outlines.size(); ++k) {
      if (!inside[k]) expected.push_back(k);
    }
    EXPECT_EQ(Order(outlines), expected);
  }
}

}  // namespace
}  // namespace morvane::document
