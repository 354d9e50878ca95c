#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/engine_fixture.h"

namespace morvane::engine::testing {
namespace {

using Points = std::vector<ContourPoint>;

constexpr float kMethods[] = {0, 1, 2, 2.5f, 3};

Points Reduced(EngineRig& rig, Points input, bool closed, float method) {
  rig.engine.ApproxMethod = MethodOf(method);
  ContourPoints& points = rig.engine.Traced();
  points = EmptyContourPoints();
  points.insert(points.end(), input.begin(), input.end());
  const std::int32_t n = rig.engine.SimplifyContour(points, closed);
  CutPoints(points, n);
  return rig.Traced();
}

// The traced contours of small figures, reduced by each method.
TEST(SimplifyContourTest, EachMethodOnTracedFigures) {
  struct Case {
    const char* what;
    std::string_view art;
    float method;
    Points expected;
  };
  constexpr std::string_view rect = R"(
......
.####.
.####.
.####.
......
)";
  constexpr std::string_view triangle = R"(
.........
.#.......
.##......
.###.....
.####....
.#####...
.........
)";
  constexpr std::string_view blob = R"(
.........
..###....
.#####...
.######..
.#####...
..##.....
.........
)";
  const Case cases[] = {
      // Line fit drops a vertex when the next one is within 2 of the line; generous
      // enough to cut corners.
      {"rectangle, line fit", rect, 0, {{2, 3}, {4, 3}, {2, 1}}},
      {"triangle, line fit", triangle, 0, {{2, 5}, {5, 5}, {2, 2}}},
      {"blob, line fit", blob, 0, {{1, 4}, {3, 5}, {6, 3}, {3, 1}}},
      {"rectangle, direction change", rect, 1, {{1, 1}, {1, 3}, {4, 3}, {4, 1}}},
      {"triangle, direction change", triangle, 1, {{1, 1}, {1, 5}, {5, 5}}},
      {"blob, direction change",
       blob,
       1,
       {{2, 1}, {1, 2}, {1, 4}, {2, 5}, {3, 5}, {4, 4}, {5, 4}, {6, 3}, {4, 1}}},
      // Line of sight never tests the last vertex.
      {"rectangle, line of sight", rect, 2.5f, {{1, 1}, {1, 3}, {4, 3}, {4, 1}, {2, 1}}},
      {"triangle, line of sight", triangle, 2.5f, {{1, 1}, {1, 5}, {5, 5}, {2, 2}}},
      {"blob, line of sight", blob, 2.5f, {{2, 1}, {1, 2}, {1, 4}, {2, 5}, {6, 3}, {4, 1}, {3, 1}}},
      {"blob, line of sight with neighbours",
       blob,
       2,
       {{2, 1}, {1, 2}, {1, 4}, {2, 5}, {6, 3}, {4, 1}, {3, 1}}},
      {"rectangle, both", rect, 3, {{1, 1}, {1, 3}, {4, 3}, {4, 1}}},
      {"blob, both", blob, 3, {{2, 1}, {1, 2}, {1, 4}, {2, 5}, {6, 3}, {4, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EngineRig rig(c.art, c.method);
    ASSERT_TRUE(rig.engine.TraceContourAt(1, 1));
    const std::int32_t n = rig.engine.SimplifyContour(rig.engine.Traced(), true);
    CutPoints(rig.engine.Traced(), n);
    EXPECT_EQ(rig.Traced(), c.expected);
    EXPECT_EQ(rig.engine.ApproxMethod, MethodOf(c.method)) << "method kept";
  }
}

TEST(SimplifyContourTest, StraightRunsAndStaircases) {
  EngineRig rig(R"(
........
........
........
........
)");
  const Points run = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}};
  for (const float method : {0.0f, 1.0f, 2.5f}) {
    EXPECT_EQ(Reduced(rig, run, false, method), (Points{{0, 0}, {5, 0}})) << method;
  }
  // A 45-degree staircase of single pixels turns by a right angle at every vertex.
  const Points stairs = {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 2}, {3, 3}};
  EXPECT_EQ(Reduced(rig, stairs, false, 1), stairs);
  // Line fit reduces it; its rounding keeps (2, 2).
  EXPECT_EQ(Reduced(rig, stairs, false, 0), (Points{{0, 0}, {2, 2}, {3, 3}}));
}

TEST(SimplifyContourTest, CleanUpOfRepeatedPoints) {
  EngineRig rig(R"(
....
)");
  // A closed contour whose last point repeats the first loses it; of two equal
  // neighbours only the second stays. An unknown method leaves everything else.
  EXPECT_EQ(Reduced(rig, {{0, 0}, {5, 0}, {5, 5}, {0, 0}}, true, 7), (Points{{0, 0}, {5, 0}, {5, 5}}));
  EXPECT_EQ(Reduced(rig, {{0, 0}, {5, 0}, {5, 5}, {0, 0}}, false, 7),
            (Points{{0, 0}, {5, 0}, {5, 5}, {0, 0}}));
  EXPECT_EQ(Reduced(rig, {{0, 0}, {5, 0}, {5, 0}, {5, 5}}, false, 7), (Points{{0, 0}, {5, 0}, {5, 5}}));
  EXPECT_EQ(Reduced(rig, {{0, 0}, {5, 0}}, true, 3), (Points{{0, 0}, {5, 0}})) << "fewer than 3";
}

TEST(SimplifyContourTest, SeparatorsAreNeighboursButNeverRemoved) {
  EngineRig rig(R"(
....
)");
  // The first vertex after a separator is measured from the separator itself.
  const Points two = {{0, 0}, {1, 0}, {2, 0}, {1, -1}, {0, 5}, {1, 5}, {2, 5}, {3, 5}};
  for (const float method : kMethods) {
    const Points out = Reduced(rig, two, false, method);
    EXPECT_EQ(std::count_if(out.begin(), out.end(), IsSeparator), 1) << method;
  }
  EXPECT_EQ(Reduced(rig, two, false, 1), (Points{{0, 0}, {2, 0}, {1, -1}, {0, 5}, {3, 5}}));
}

TEST(SimplifyContourTest, NegativeCoordinatesSurvive) {
  // Points shifted left of the image: x = -1 is a coordinate, not a removal mark.
  EngineRig rig(R"(
....
)");
  const Points shifted = {{-1, 0}, {-1, 4}, {3, 4}, {3, 0}};
  for (const float method : kMethods) {
    EXPECT_EQ(Reduced(rig, shifted, true, method), shifted) << method;
  }
  EXPECT_EQ(Reduced(rig, {{-3, 0}, {-2, 0}, {-1, 0}, {0, 0}, {0, 3}}, false, 1),
            (Points{{-3, 0}, {0, 0}, {0, 3}}));
}

TEST(SimplifyContourTest, StopLeavesThePointsAlone) {
  EngineRig rig(R"(
....
)");
  rig.window.stop = true;
  const Points run = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
  EXPECT_EQ(Reduced(rig, run, true, 1), run);
}

TEST(SimplifyContourTest, NeighbourTestRemovesAVertexWhoseBackgroundNeighbourIsInSight) {
  // b = (2, 1) is off the line from (0, 1) to (4, 3), which passes its neighbour
  // (2, 2), background in the image.
  EngineRig rig(R"(
#####
#####
##...
#####
)");
  const Points bend = {{0, 1}, {2, 1}, {4, 3}};
  EXPECT_EQ(Reduced(rig, bend, false, 2.5f), bend);
  EXPECT_EQ(Reduced(rig, bend, false, 2), (Points{{0, 1}, {4, 3}}));
}

TEST(SegmentAngleTest, Directions) {
  const double pi = static_cast<double>(3.1416f);
  struct Case {
    ContourPoint i, j;
    double angle;
  };
  const Case cases[] = {
      {{2, 2}, {2, 2}, 0},
      {{2, 2}, {2, 0}, 1.5 * pi},
      {{2, 2}, {2, 5}, 0.5 * pi},
      {{2, 2}, {0, 2}, pi},
      {{2, 2}, {5, 2}, 0},
      {{0, 0}, {1, 1}, std::atan(1.0)},
      {{1, 1}, {0, 0}, std::atan(1.0)},
      {{0, 0}, {1, -1}, std::atan(-1.0)},
      {{0, 0}, {2, 1}, std::atan(0.5)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SegmentAngle(c.i, c.j), c.angle) << c.i << " " << c.j;
  }
}

}  // namespace
}  // namespace morvane::engine::testing
