#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace morvane::engine::testing {
namespace {

using Points = std::vector<ContourPoint>;

TEST(FindContourStartTest, StartRules) {
  EngineRig rig(R"(
......
.####.
.####.
......
##..##
......
)");
  struct Case {
    const char* what;
    ContourPoint click;
    bool found;
    ContourPoint start;
  };
  const Case cases[] = {
      {"leftmost pixel of a row", {1, 1}, true, {1, 1}},
      {"a figure pixel at x = 0", {0, 4}, true, {0, 4}},
      {"inside: rightmost of the row's run", {3, 2}, true, {4, 2}},
      {"inside a run that reaches the right edge", {5, 4}, true, {5, 4}},
      {"leftmost pixel of a run after background", {4, 4}, true, {4, 4}},
      {"background before a figure: on in raster order", {0, 1}, true, {1, 1}},
      {"background after a row's figure: the next row", {5, 2}, true, {0, 4}},
      {"background on the figure's row, past it", {2, 3}, true, {0, 4}},
      {"above the image", {3, -4}, true, {1, 1}},
      {"after every figure", {3, 5}, false, {}},
      {"below the image", {0, 9}, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetPoints(rig.engine.Traced());
    rig.engine.Traced().push_back({42, 42});
    EXPECT_EQ(rig.engine.FindContourStart(c.click.x, c.click.y), c.found);
    if (c.found) {
      EXPECT_EQ(rig.Traced(), (Points{c.start}));
    } else {
      EXPECT_EQ(rig.Traced(), (Points{ContourPoint{42, 42}})) << "left as it was";
    }
  }
}

TEST(TraceContourAtTest, GoldenContours) {
  struct Case {
    const char* what;
    std::string_view art;
    ContourPoint click;
    Points expected;
  };
  const Case cases[] = {
      {"rectangle",
       R"(
......
.####.
.####.
.####.
......
)",
       {1, 1},
       {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {4, 2}, {4, 1}, {3, 1}, {2, 1}}},
      {"a click inside starts at the row's rightmost pixel and cuts the corners",
       R"(
......
.####.
.####.
.####.
......
)",
       {2, 2},
       {{4, 2}, {3, 3}, {2, 3}, {1, 2}, {2, 1}, {3, 1}}},
      {"L shape, its inner corner squared",
       R"(
.......
.##....
.##....
.#####.
.#####.
.......
)",
       {1, 1},
       {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {5, 3}, {4, 3}, {2, 3}, {2, 1}}},
      {"ring: its outer boundary",
       R"(
.......
.#####.
.#...#.
.#...#.
.#####.
.......
)",
       {1, 1},
       {{1, 1},
        {1, 2},
        {1, 3},
        {1, 4},
        {2, 4},
        {3, 4},
        {4, 4},
        {5, 4},
        {5, 3},
        {5, 2},
        {5, 1},
        {4, 1},
        {3, 1},
        {2, 1}}},
      {"a figure filling the image: border pixels are boundary",
       R"(
####
####
####
)",
       {1, 1},
       {{3, 1}, {2, 2}, {1, 2}, {0, 1}, {1, 0}, {2, 0}}},
      {"figure touching each border",
       R"(
####
####
####
)",
       {0, 0},
       {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 0}}},
      {"bevel squared: its corner is figure colour in the image",
       R"(
......
.###n.
.####.
.####.
......
)",
       {1, 1},
       {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {4, 1}, {2, 1}}},
      {"bevel left alone next to a background corner",
       R"(
......
.###..
.####.
.####.
......
)",
       {1, 1},
       {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {4, 2}, {3, 1}, {2, 1}}},
      {"staircase: two of four bevels squared, a squared one spoils its neighbour",
       R"(
.......
.n###n.
.#####.
.#####.
.n###n.
.......
)",
       {2, 1},
       {{2, 1}, {1, 2}, {1, 4}, {3, 4}, {5, 4}, {5, 2}, {4, 1}, {3, 1}}},
      {"a two-pixel run: out and back",
       R"(
....
.##.
....
)",
       {1, 1},
       {{1, 1}, {2, 1}}},
      {"a one-pixel row clicked in its middle: from its right end and back",
       R"(
.....
.###.
.....
)",
       {2, 1},
       {{3, 1}, {2, 1}, {1, 1}, {2, 1}}},
      {"two arms meeting at the start: round both before closing",
       R"(
....#....
...#.#...
..#...#..
.........
)",
       {4, 0},
       {{4, 0}, {3, 1}, {2, 2}, {3, 1}, {4, 0}, {5, 1}, {6, 2}, {5, 1}}},
      {"a pixel on a square's top-left diagonal: out to it and back",
       R"(
......
.#....
..###.
..###.
..###.
......
)",
       {1, 1},
       {{1, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 4}, {4, 4}, {4, 3}, {4, 2}, {3, 2}, {2, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EngineRig rig(c.art);
    EXPECT_TRUE(rig.engine.TraceContourAt(c.click.x, c.click.y));
    EXPECT_EQ(rig.Traced(), c.expected);
  }
}

TEST(TraceContourAtTest, FailuresAndTheirLeftovers) {
  {
    EngineRig rig(R"(
...
.#.
...
)");
    EXPECT_FALSE(rig.engine.TraceContourAt(1, 1)) << "an isolated pixel is a dead end";
    EXPECT_EQ(rig.Traced(), (Points{ContourPoint{1, 1}}));
  }
  {
    EngineRig rig(R"(
...
...
...
)");
    EXPECT_FALSE(rig.engine.TraceContourAt(0, 0));
    EXPECT_TRUE(rig.Traced().empty());
  }
}

TEST(TraceContourAtTest, OffPaletteBackgroundMakesTheWholeImageOneFigure) {
  // Pick a background that the image does not show: every pixel is figure.
  EngineRig rig(R"(
...
.#.
...
)");
  rig.engine.LetBackColor(0x123456);
  rig.engine.PrepareMask();
  ASSERT_TRUE(rig.engine.TraceContourAt(1, 1));
  EXPECT_EQ(rig.Traced(), (Points{{2, 1}, {1, 2}, {0, 1}, {1, 0}}));
}

TEST(TraceContourAtTest, StopEndsTheTraceOpen) {
  EngineRig rig(R"(
......
.####.
.####.
.####.
......
)");
  rig.window.onTick = [&](std::int64_t tick) { rig.window.stop = tick >= 3; };
  ASSERT_TRUE(rig.engine.TraceContourAt(1, 1));
  EXPECT_EQ(rig.Traced(), (Points{{1, 1}, {1, 2}, {1, 3}, {2, 3}}));
}

TEST(TraceContourAtTest, PickedBackgroundColourTurnsWhite) {
  // Red is background here; white and black are figure.
  EngineRig rig(R"(
rrrrr
r###r
r#.#r
r###r
rrrrr
)");
  rig.engine.LetBackColor(0x0000FF);  // OLE red
  rig.engine.PrepareMask();
  EXPECT_EQ(rig.engine.MaskPixel(0, 0), core::kMaskWhite);
  EXPECT_EQ(rig.engine.MaskPixel(2, 2), core::kMaskBlack);
  ASSERT_TRUE(rig.engine.TraceContourAt(0, 0));
  EXPECT_EQ(rig.Traced().front(), (ContourPoint{1, 1}));
  EXPECT_EQ(rig.Traced().size(), 8u);
}

// The window draws the contours over the picture the engine reads and takes them off
// when it is asked to show the plain image: the mask is made after that.
TEST(PrepareMaskTest, IsMadeOfThePlainImage) {
  struct DrawingWindow : FakeWindow {
    core::RgbImage* picture = nullptr;
    core::RgbImage plain;
    void ShowImage() override { *picture = plain; }
  };
  DrawingWindow window;
  window.plain = ImageFromArt(R"(
.......
.##.##.
.##.##.
.......
)");
  core::RgbImage picture = window.plain;
  window.picture = &picture;
  ContourEngine engine(window, window, window, window);
  engine.SetImage(&picture);
  engine.LetBackColor(0xFFFFFF);
  for (const bool survey : {false, true}) {
    SCOPED_TRACE(survey ? "for a whole-image run" : "for a click");
    picture.at(3, 1) = 0xFF000000u;  // a line drawn across the background
    if (survey) {
      const ContourSet contours = engine.CreateWholeImageContours("0");
      EXPECT_EQ(contours.count, 2);
    } else {
      engine.PrepareMask();
      EXPECT_EQ(engine.MaskPixel(3, 1), core::kMaskWhite);
    }
  }
}

TEST(RectifyCornerTest, NeedsThreeRealPointsBeforeTheNewest) {
  // Element 0 holds (0, 0): with a point at (2, 2) it would look like a bevel.
  EngineRig rig(R"(
#####
#####
#####
)");
  rig.engine.Traced() = {{0, 0}, {2, 1}, {1, 0}, {0, 0}};
  EXPECT_FALSE(rig.engine.RectifyCorner(3));
  rig.engine.Traced() = {{0, 0}, {9, 9}, {2, 2}, {2, 1}, {1, 0}, {0, 0}};
  EXPECT_TRUE(rig.engine.RectifyCorner(5));
  EXPECT_EQ(rig.Traced(), (Points{{9, 9}, {2, 2}, {2, 0}, {0, 0}, {0, 0}}));
}

TEST(GetNeighboursTest, FillsEightOrFourAndLeavesOtherSizes) {
  ContourPoints eight(9);
  GetNeighbours({5, 5}, eight);
  EXPECT_EQ(Points(eight.begin() + 1, eight.end()),
            (Points{{4, 5}, {4, 6}, {5, 6}, {6, 6}, {6, 5}, {6, 4}, {5, 4}, {4, 4}}));
  ContourPoints four(5);
  GetNeighbours({5, 5}, four);
  EXPECT_EQ(Points(four.begin() + 1, four.end()), (Points{{4, 5}, {5, 6}, {6, 5}, {5, 4}}));
  ContourPoints other(3, ContourPoint{7, 7});
  GetNeighbours({5, 5}, other);
  EXPECT_EQ(other, ContourPoints(3, ContourPoint{7, 7}));
}

}  // namespace
}  // namespace morvane::engine::testing
