#include "platform/raster/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace morvane::raster {
namespace {

// A line clipped while it is made keeps exactly the pixels of the whole line that lie
// inside the clip, with their places along the line.
TEST(RasterLineTest, ClippingKeepsTheWholeLinesPixels) {
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<std::int32_t> coord(-300, 400);
  const Clip everything{-100000, -100000, 100000, 100000};
  const Clip window{0, 0, 99, 79};
  for (int round = 0; round < 3000; ++round) {
    const Px a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
    const bool includeEnd = round % 2 == 0;
    std::vector<PathPixel> whole, clipped;
    LinePath(a, b, includeEnd, everything, whole);
    LinePath(a, b, includeEnd, window, clipped);
    std::vector<PathPixel> want;
    for (const PathPixel& p : whole) {
      if (window.Contains(p.p)) want.push_back(p);
    }
    ASSERT_EQ(clipped.size(), want.size()) << a.x << "," << a.y << " - " << b.x << "," << b.y;
    for (std::size_t i = 0; i < want.size(); ++i) {
      ASSERT_EQ(clipped[i].p, want[i].p) << round;
      ASSERT_EQ(clipped[i].n, want[i].n) << round;
    }
  }
}

TEST(RasterLineTest, AHugeLineCostsOnlyItsVisiblePart) {
  std::vector<PathPixel> out;
  LinePath({-2000000000, 5}, {2000000000, 5}, false, {0, 0, 9, 9}, out);
  ASSERT_EQ(out.size(), 10u);
  EXPECT_EQ(out.front().p, (Px{0, 5}));
  EXPECT_EQ(out.back().p, (Px{9, 5}));
}

TEST(RasterBoxTest, ClippedBoxKeepsPlacesAlongTheOutline) {
  const Clip everything{-1000, -1000, 1000, 1000};
  const Clip part{3, 2, 7, 9};
  std::vector<PathPixel> whole, clipped;
  BoxPath({1, 1}, {8, 12}, everything, whole);
  BoxPath({1, 1}, {8, 12}, part, clipped);
  ASSERT_EQ(whole.size(), 2u * (7 + 11));
  for (std::size_t i = 0; i < whole.size(); ++i) EXPECT_EQ(whole[i].n, static_cast<std::int64_t>(i));
  std::size_t j = 0;
  for (const PathPixel& p : whole) {
    if (!part.Contains(p.p)) continue;
    ASSERT_LT(j, clipped.size());
    EXPECT_EQ(clipped[j].p, p.p);
    EXPECT_EQ(clipped[j].n, p.n);
    ++j;
  }
  EXPECT_EQ(j, clipped.size());
}

TEST(RasterPenTest, FootprintsAreDiscs) {
  const std::vector<std::pair<int, std::vector<PenRow>>> cases = {
      {1, {{0, 0, 0}}},
      {2, {{0, 0, 1}, {1, 0, 1}}},
      {3, {{-1, -1, 1}, {0, -1, 1}, {1, -1, 1}}},
      {4, {{-1, 0, 1}, {0, -1, 2}, {1, -1, 2}, {2, 0, 1}}},
  };
  for (const auto& [width, want] : cases) {
    const std::vector<PenRow> got = PenRows(width);
    ASSERT_EQ(got.size(), want.size()) << width;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].dy, want[i].dy) << width;
      EXPECT_EQ(got[i].lo, want[i].lo) << width;
      EXPECT_EQ(got[i].hi, want[i].hi) << width;
    }
  }
  EXPECT_EQ(PenRows(30001).size(), 30001u);  // rows, not pixels: wide pens stay cheap
}

}  // namespace
}  // namespace morvane::raster

namespace morvane::raster {
namespace {

TEST(RasterEllipseTest, OutlineRunsCounterClockwiseOncePerPixel) {
  const Clip everything{-1000, -1000, 1000, 1000};
  for (const auto& [rx, ry] :
       std::vector<std::pair<int, int>>{{2, 2}, {7, 3}, {1, 9}, {40, 40}, {0, 3}, {3, 0}}) {
    std::vector<PathPixel> path;
    EllipsePath({0, 0}, rx, ry, everything, path);
    std::vector<std::pair<int, int>> seen;
    double last = -1;
    for (std::size_t i = 0; i < path.size(); ++i) {
      EXPECT_EQ(path[i].n, static_cast<std::int64_t>(i));
      seen.push_back({path[i].p.x, path[i].p.y});
      if (rx > 0 && ry > 0) {
        const double a = AngleOf({0, 0}, path[i].p);
        EXPECT_GT(a, last) << rx << "x" << ry << " at " << i;
        last = a;
      }
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << rx << "x" << ry;
    // Clipped, the same pixels keep their places.
    std::vector<PathPixel> part;
    const Clip half{0, -1000, 1000, 1000};
    EllipsePath({0, 0}, rx, ry, half, part);
    std::size_t j = 0;
    for (const PathPixel& p : path) {
      if (!half.Contains(p.p)) continue;
      ASSERT_LT(j, part.size());
      EXPECT_EQ(part[j].n, p.n);
      ++j;
    }
    EXPECT_EQ(j, part.size());
  }
}

}  // namespace
}  // namespace morvane::raster
