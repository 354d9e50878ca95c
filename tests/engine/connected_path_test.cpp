// The Connected run's path against the arrays the literal model joins, and the pair
// search's progress bar against a sweep that looks at every gate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "engine/connected_path.h"
#include "engine/distance.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/reference.h"

namespace morvane::engine::testing {
namespace {

// A figure as a trace leaves it: a walk of neighbouring pixels from a start, or, now
// and then, points strewn anywhere (some beyond the picture's right, bottom and left
// edges; none above it, where they would read as separators), so that boxes are large
// and the grid's edge cells hold outside points.
ContourPoints RandomFigure(std::mt19937& rng, std::int32_t w, std::int32_t h) {
  ContourPoints figure = EmptyContourPoints();
  const int n = std::uniform_int_distribution<int>(1, 14)(rng);
  if (std::uniform_int_distribution<int>(0, 9)(rng) == 0) {
    std::uniform_int_distribution<int> xs(-3, w + 2), ys(0, h + 2);
    for (int k = 0; k < n; ++k) figure.push_back({xs(rng), ys(rng)});
    return figure;
  }
  ContourPoint p{std::uniform_int_distribution<int>(0, w - 1)(rng),
                 std::uniform_int_distribution<int>(0, h - 1)(rng)};
  std::uniform_int_distribution<int> step(-1, 1);
  for (int k = 0; k < n; ++k) {
    figure.push_back(p);
    p = {std::clamp(p.x + step(rng), 0, w - 1), std::clamp(p.y + step(rng), 0, h - 1)};
  }
  return figure;
}

// Figures joined one after another, as a Connected run joins what it traces: the path
// finds the pair the literal search over the whole array finds, and at the end stands
// for the array that search built. Small pictures crowd the points, so that pairs tie,
// stretches split again and again and the grid refines; wide ones leave figures far
// apart.
TEST(ConnectedPathTest, StandsForTheArrayTheLiteralJoinsBuild) {
  std::mt19937 rng(2512);
  struct Picture {
    std::int32_t w, h;
    int figures;
  };
  const Picture pictures[] = {{6, 5, 200}, {24, 24, 300}, {64, 40, 250}, {300, 200, 120}, {1, 1, 40}};
  for (const Picture& picture : pictures) {
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(::testing::Message() << picture.w << "x" << picture.h << " round " << round);
      reference::Model model;
      model.maskW = picture.w;
      model.maskH = picture.h;
      const float limit = FloatDistance(SquaredSum(picture.w, picture.h));
      ContourPoints joined = EmptyContourPoints();
      ConnectedPath path;
      path.Reset(picture.w, picture.h);
      for (int f = 0; f < picture.figures; ++f) {
        ContourPoints figure = RandomFigure(rng, picture.w, picture.h);
        if (UpperBound(joined) > 0) {
          ContourPoints expected = figure;
          const std::int32_t i0 = reference::ConnectToPrevious(model, joined, expected);
          const ConnectedPath::Pair pair = path.FindNearestPair(figure, limit);
          ASSERT_EQ(pair.position, i0) << "figure " << f;
          if (pair.position > 0) {
            path.RotateTo(pair.stored);
            RotateContour(figure, pair.newer, false);
          }
          ASSERT_EQ(figure, expected) << "figure " << f;
          joined.push_back(joined[1]);
        }
        joined.insert(joined.end(), figure.begin() + 1, figure.end());
        joined.push_back(figure[1]);
        path.AppendFigure(figure);
        ASSERT_EQ(path.Size(), UpperBound(joined)) << "figure " << f;
      }
      ContourPoints out;
      path.MoveTo(out);
      EXPECT_EQ(out, joined);
      EXPECT_EQ(path.Size(), 0);
    }
  }
}

// A pair search straight after a rotation, before the path is extended at the mark:
// the marked stretch then runs on both sides of the mark, and of pairs at one
// distance its points before the mark come last in the path, though first in the
// store. The pair is the one the literal search finds in the rotated array.
TEST(ConnectedPathTest, TiesAroundAMarkInsideAStretchGoInPathOrder) {
  // One stretch: (2,2) (6,2) (6,6) (2,6) (2,2), stored 0 to 4.
  const ContourPoints square{{}, {2, 2}, {6, 2}, {6, 6}, {2, 6}};
  struct Row {
    const char* label;
    std::int32_t markAt;  // the stored point rotated to
    ContourPoints newer;
    std::int32_t position;  // expected, from 1
    std::int32_t newerAt;
  };
  const Row rows[] = {
      // (2,2) twice and (6,2) tie: the closing (2,2), after the mark, comes first.
      {"tie on both sides of the mark", 2, {{}, {4, 0}}, 3, 1},
      // The mark's own point ties with points before it in the store.
      {"the mark first", 1, {{}, {4, 0}}, 1, 1},
      // (2,6) with the second new point before any pair of the first.
      {"two new points", 2, {{}, {4, 0}, {0, 4}}, 2, 2},
      // (6,2) and (6,6) tie, both before the mark.
      {"only points before the mark", 3, {{}, {8, 4}}, 4, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ConnectedPath path;
    path.Reset(20, 20);
    path.AppendFigure(square);
    path.RotateTo(row.markAt);
    // The array the rotated path stands for.
    ContourPoints store{{}, {2, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 2}};
    ContourPoints rotated = EmptyContourPoints();
    for (std::int32_t k = 0; k < 5; ++k) {
      rotated.push_back(store[static_cast<std::size_t>((row.markAt + k) % 5) + 1]);
    }
    reference::Model model;
    model.maskW = 20;
    model.maskH = 20;
    ContourPoints expected = row.newer;
    const std::int32_t i0 = reference::ConnectToPrevious(model, rotated, expected);
    ASSERT_EQ(i0, row.position);
    const ConnectedPath::Pair pair = path.FindNearestPair(row.newer, FloatDistance(SquaredSum(20, 20)));
    EXPECT_EQ(pair.position, row.position);
    EXPECT_EQ(pair.newer, row.newerAt);
    EXPECT_EQ(pair.stored, (row.markAt + row.position - 1) % 5);
  }
}

// A path used again after it has been handed over starts empty.
TEST(ConnectedPathTest, StartsAfreshAfterItsArrayIsTaken) {
  ConnectedPath path;
  for (int run = 0; run < 2; ++run) {
    path.Reset(10, 10);
    path.AppendFigure({{}, {2, 2}, {3, 2}});
    const ConnectedPath::Pair pair = path.FindNearestPair({{}, {5, 2}}, 100);
    EXPECT_EQ(pair.position, 2) << "run " << run;
    path.RotateTo(pair.stored);
    path.AppendFigure({{}, {5, 2}});
    ContourPoints out;
    path.MoveTo(out);
    EXPECT_EQ(out, (ContourPoints{{}, {3, 2}, {2, 2}, {2, 2}, {3, 2}, {5, 2}, {5, 2}})) << "run " << run;
  }
}

// A path that takes over the memory of the array an earlier path became builds the
// same array, and leaves the other array holding element 0 alone.
TEST(ConnectedPathTest, BuildsInTheMemoryOfAnEarlierArray) {
  ConnectedPath path;
  ContourPoints array;
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE(::testing::Message() << "run " << run);
    path.Reset(10, 10, array);
    EXPECT_EQ(array, EmptyContourPoints());
    path.AppendFigure({{}, {2, 2}, {3, 2}});
    const ConnectedPath::Pair pair = path.FindNearestPair({{}, {5, 2}}, 100);
    ASSERT_EQ(pair.position, 2);
    path.RotateTo(pair.stored);
    path.AppendFigure({{}, {5, 2}});
    array.assign(40, ContourPoint{7, 7});  // as a reduction leaves it, longer than the path
    path.MoveTo(array);
    EXPECT_EQ(array, (ContourPoints{{}, {3, 2}, {2, 2}, {2, 2}, {3, 2}, {5, 2}, {5, 2}}));
  }
}

// The bar of the pair search's second sweep as a sweep moves it that looks at every
// step-th existing point up to the pair's, a gate, and shows the percentage when it
// changes; then the sweep's ticks, one per existing point up to the pair's.
struct Bar {
  std::vector<int> moves;
  std::int64_t ticks = 0;
};

Bar GateByGate(std::int32_t eu, std::int32_t nu, std::int32_t i0, std::int32_t j0) {
  Bar bar;
  const std::int32_t last = i0 > 0 ? i0 : eu;
  const std::int32_t step = std::max(1, eu / 1000);
  const double pairs = static_cast<double>(eu) * nu;
  int shown = 0;
  for (std::int32_t i = 1; i <= last; i += step) {
    const std::int32_t j = i == i0 ? j0 : nu + 1;
    const int percent =
        pairs > 0 ? static_cast<int>(std::nearbyint(static_cast<double>(i) * j * 100.0 / pairs)) : 100;
    if (percent != shown) {
      shown = percent;
      bar.moves.push_back(percent);
    }
  }
  bar.ticks = last;
  return bar;
}

// Existing points far from the new ones but one, at position pairAt, right beside the
// new point at position pairWith.
void CheckSweptBar(std::int32_t eu, std::int32_t nu, std::int32_t pairAt, std::int32_t pairWith) {
  SCOPED_TRACE(::testing::Message() << eu << " existing, " << nu << " new, pair (" << pairAt << ", "
                                    << pairWith << ")");
  ContourPoints existing = EmptyContourPoints();
  for (std::int32_t i = 1; i <= eu; ++i) {
    existing.push_back(i == pairAt ? ContourPoint{3 * pairWith, 1} : ContourPoint{i, 5000});
  }
  ContourPoints newer = EmptyContourPoints();
  for (std::int32_t j = 1; j <= nu; ++j) newer.push_back({3 * j, 0});
  FakeWindow window;
  ContourEngine engine(window, window, window, window);
  ASSERT_EQ(engine.ConnectToPrevious(existing, newer), pairAt);
  const Bar expected = GateByGate(eu, nu, pairAt, pairWith);
  std::vector<std::pair<int, int>> progress{{kProgressStep, 0}};
  for (const int percent : expected.moves) progress.push_back({kProgressStep, percent});
  EXPECT_EQ(window.progress, progress);
  EXPECT_EQ(window.ticks, expected.ticks);
  EXPECT_EQ(window.hidden, (std::vector<int>{kProgressStep}));
}

TEST(ConnectToPreviousTest, TheSweptPairsMoveTheBarAsEveryGateWould) {
  struct Case {
    std::int32_t eu, nu, pairAt, pairWith;
  };
  const Case cases[] = {
      {1, 1, 1, 1},         {2, 1, 2, 1},         {3, 7, 2, 7},           {40, 1, 40, 1},
      {120, 2, 77, 1},      {999, 1, 999, 1},     {1000, 3, 1000, 3},     {1001, 1, 1001, 1},
      {2500, 4, 1, 4},      {2500, 4, 2499, 2},   {2500, 4, 2500, 4},     {20001, 2, 20001, 1},
      {20001, 2, 19981, 2}, {20001, 2, 19980, 2}, {123457, 9, 123457, 9}, {123457, 1, 61729, 1},
  };
  for (const Case& c : cases) CheckSweptBar(c.eu, c.nu, c.pairAt, c.pairWith);
  // Pairs anywhere, on a gate and between gates.
  std::mt19937 rng(77);
  for (int round = 0; round < 60; ++round) {
    const std::int32_t eu =
        std::uniform_int_distribution<std::int32_t>(1, round < 30 ? 300 : 30000)(rng);
    const std::int32_t nu = std::uniform_int_distribution<std::int32_t>(1, 6)(rng);
    CheckSweptBar(eu, nu, std::uniform_int_distribution<std::int32_t>(1, eu)(rng),
                  std::uniform_int_distribution<std::int32_t>(1, nu)(rng));
  }
}

}  // namespace
}  // namespace morvane::engine::testing
