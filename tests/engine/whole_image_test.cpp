#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace morvane::engine::testing {
namespace {

using Points = std::vector<ContourPoint>;
using Titles = std::vector<std::string>;

constexpr std::string_view kTwoFigures = R"(
..........
.###..###.
.###..###.
.###..###.
..........
)";

constexpr std::string_view kRing = R"(
........
.######.
.#....#.
.#....#.
.######.
........
)";

TEST(WholeImageTest, TwoFiguresGiveTwoNumberedContours) {
  EngineRig rig(kTwoFigures, 1);
  rig.format = "00";
  rig.Create();
  // Reduced as one array: the point before each separator turns towards it and stays.
  EXPECT_EQ(
      rig.Points(),
      (Points{{1, 1}, {1, 3}, {3, 3}, {3, 1}, {2, 1}, {1, -1}, {6, 1}, {6, 3}, {8, 3}, {8, 1}, {7, 1}}));
  EXPECT_EQ(rig.doc.count, 2);
  EXPECT_EQ(rig.Titles(), (Titles{"#00", "#01"}));
  EXPECT_EQ(rig.window.progress2, "");
  EXPECT_EQ(rig.window.progress.front(), (std::pair<int, int>{1, 0}));
  EXPECT_EQ(rig.window.hidden.back(), 1);
}

TEST(WholeImageTest, RingGivesItsOutlineAndItsHole) {
  EngineRig rig(kRing, 1);
  rig.Create();
  // The hole is traced from the first figure pixel after it, (6, 2), along the pixels
  // that border it; its corners are squared into the ring.
  EXPECT_EQ(rig.Points(), (Points{{1, 1},
                                  {1, 4},
                                  {6, 4},
                                  {6, 1},
                                  {2, 1},
                                  {1, -1},
                                  {6, 2},
                                  {6, 4},
                                  {1, 4},
                                  {1, 2},
                                  {2, 1},
                                  {5, 1}}));
  EXPECT_EQ(rig.Titles(), (Titles{"#0", "#1"}));
}

TEST(WholeImageTest, HolesAreFoundWhateverTheBackgroundColour) {
  // The same ring on a palette colour and on one picked from a photo (beige, which the
  // 16-colour conversion takes for silver): the mask's white stands for the background.
  EngineRig white(kRing, 1);
  white.Create();
  struct Case {
    const char* what;
    std::uint32_t rgb;
    std::int32_t ole;
  };
  const Case cases[] = {
      {"red", 0xFF0000, 0x0000FF},
      {"beige", 0xC8C4BC, 0xBCC4C8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EngineRig rig(kRing, 1);
    for (std::uint32_t& px : rig.image.pixels) {
      if (px == 0xFFFFFFFFu) px = 0xFF000000u | c.rgb;
    }
    rig.engine.LetBackColor(c.ole);
    rig.Create();
    EXPECT_EQ(rig.doc.points, white.doc.points);
  }
}

TEST(WholeImageTest, BackgroundCutOffByABorderFigureIsNoHole) {
  // A C open to the left border: its pocket reaches the image edge.
  EngineRig rig(R"(
######...
######...
....##...
######...
######...
.........
)",
                1);
  rig.Create();
  EXPECT_EQ(rig.doc.count, 1);
  EXPECT_EQ(rig.Titles(), (Titles{"#0"}));
}

TEST(WholeImageTest, ConnectedGivesOnePolygonWithOneTitle) {
  EngineRig rig(kTwoFigures, 1);
  rig.engine.Connected = true;
  rig.Create();
  EXPECT_EQ(rig.Titles(), (Titles{"#0"}));
  EXPECT_EQ(rig.doc.count, 1);
  const Points points = rig.Points();
  EXPECT_EQ(std::count_if(points.begin(), points.end(), IsSeparator), 0);
  // Round the first square from its point nearest the second, across the bottom edge
  // (a straight run, so its middle points go), round the second and back.
  EXPECT_EQ(points, (Points{{3, 3}, {3, 1}, {1, 1}, {1, 3}, {8, 3}, {8, 1}, {6, 1}, {6, 3}}));
}

TEST(WholeImageTest, AnIsolatedPixelDoesNotHideTheFiguresAfterIt) {
  EngineRig rig(R"(
......
.#....
......
.###..
.###..
.###..
......
)",
                1);
  rig.Create();
  // The trailing separator, (1, -1), lies straight above the first point, which goes.
  EXPECT_EQ(rig.Points(), (Points{{1, 5}, {3, 5}, {3, 3}, {2, 3}}));
  EXPECT_EQ(rig.Titles(), (Titles{"#0"}));
}

TEST(WholeImageTest, EmptyImageEndsEmpty) {
  EngineRig rig(R"(
....
....
)",
                3);
  rig.Create();
  EXPECT_EQ(rig.doc.points, EmptyContourPoints());
  EXPECT_EQ(rig.doc.count, 0);
  EXPECT_TRUE(rig.Titles().empty());
}

TEST(WholeImageTest, TheDocumentIsLeftAloneUntilTheResultIsTaken) {
  // Contours from before the run stay whole while it pumps events.
  EngineRig rig(kTwoFigures, 1);
  rig.doc.points = {{0, 0}, {4, 4}, {5, 5}};
  rig.doc.count = 1;
  rig.doc.titles = {{"0", "kept", true}};
  const ContourSet before = rig.doc;
  bool whole = true;
  rig.window.onTick = [&](std::int64_t) { whole = whole && rig.doc == before; };
  const ContourSet result = rig.engine.CreateWholeImageContours(rig.format);
  EXPECT_TRUE(whole);
  EXPECT_EQ(rig.doc, before);
  EXPECT_EQ(result.count, 2);
}

TEST(WholeImageTest, StopKeepsWhatWasCollected) {
  // Three figures; stop while tracing the second: the first stays, unreduced, and no
  // hole is traced.
  constexpr std::string_view art = R"(
...............
.###..###..###.
.#.#..###..###.
.###..###..###.
...............
)";
  EngineRig full(art, 1);
  full.Create();
  ASSERT_EQ(full.doc.count, 4);

  EngineRig rig(art, 1);
  std::int64_t stopTick = 0;
  {
    // Count the ticks of the first trace (the pixel count and start scan included).
    EngineRig probe(art, 1);
    probe.engine.PrepareMask();
    probe.engine.CountRegionPixels();
    probe.engine.TraceContourAt(0, 0);
    stopTick = probe.window.ticks + 3;
  }
  rig.window.onTick = [&](std::int64_t tick) {
    if (tick == stopTick) rig.window.stop = true;
  };
  rig.Create();
  EXPECT_EQ(rig.Points(), (Points{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {3, 1}, {2, 1}}));
  EXPECT_EQ(rig.Titles(), (Titles{"#0"}));
}

TEST(WholeImageTest, StopDuringTheFirstTraceKeepsNothing) {
  EngineRig rig(kTwoFigures, 1);
  rig.window.onTick = [&](std::int64_t tick) {
    // Five rows counted, two scanned for the start, then the first steps.
    if (tick == 9) rig.window.stop = true;
  };
  rig.Create();
  EXPECT_EQ(rig.doc.points, EmptyContourPoints());
  EXPECT_TRUE(rig.Titles().empty());
}

// A host that does not answer bulk ticks itself gets them one by one, up to the tick
// after which a stop is seen.
TEST(RunControlTest, BulkTicksAreSingleTicksUpToTheStop) {
  struct Case {
    const char* what;
    std::int64_t n;
    std::int64_t stopAt;  // the tick that sets the stop flag, 0 never
    std::int64_t seen;
    std::int64_t ticks;
  };
  const Case cases[] = {
      {"no stop", 5, 0, 0, 5},
      {"stop inside", 5, 3, 3, 3},
      {"stop at the last tick", 5, 5, 5, 5},
      {"stop after the stretch", 5, 6, 0, 5},
      {"nothing to tick", 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeWindow window;
    window.onTick = [&window, &c](std::int64_t tick) {
      if (tick == c.stopAt) window.stop = true;
    };
    RunControl& run = window;
    EXPECT_EQ(run.ShowElapsedTimes(c.n), c.seen);
    EXPECT_EQ(window.ticks, c.ticks);
  }
}

// With Connected, a stop at any tick of the run (the pair searches' swept points
// among them) leaves what was collected as one path with at most one title.
TEST(WholeImageTest, ConnectedRunStoppedAtAnyTickKeepsOnePath) {
  constexpr std::string_view art = R"(
...........
.##..##..#.
.##..##..#.
...........
.##.....##.
...........
)";
  EngineRig whole(art, 3);
  whole.engine.Connected = true;
  whole.Create();
  EXPECT_EQ(whole.Titles(), (Titles{"#0"}));
  for (std::int64_t stopAt = 1; stopAt <= whole.window.ticks; ++stopAt) {
    EngineRig rig(art, 3);
    rig.engine.Connected = true;
    rig.window.onTick = [&rig, stopAt](std::int64_t tick) {
      if (tick >= stopAt) rig.window.stop = true;
    };
    rig.Create();
    EXPECT_LE(rig.Titles().size(), 1u) << "stop at " << stopAt;
    for (const ContourPoint& p : rig.Points()) EXPECT_FALSE(IsSeparator(p)) << "stop at " << stopAt;
  }
}

TEST(FindNextRegionPixelTest, ScansOnAfterTheGivenPixel) {
  EngineRig rig(R"(
##.#
####
.###
)",
                1);
  ContourPoint p{2, 0};
  EXPECT_TRUE(rig.engine.FindNextRegionPixel(p));
  EXPECT_EQ(p, (ContourPoint{0, 2}));
  EXPECT_FALSE(rig.engine.FindNextRegionPixel(p));
  EXPECT_EQ(p, (ContourPoint{0, 2}));
  EXPECT_EQ(rig.engine.CountRegionPixels(), 10);
}

TEST(WholeImageTest, ALargePictureTracesAsItsTopLeftCornerAlone) {
  // From 32 Mpixel a run keeps its points packed and gives its mask back before it
  // expands them; the contours must not notice. Twice, so that the second run
  // prepares a mask again.
  constexpr std::string_view art = R"(
..........
.###..###.
.#.#..###.
.###..###.
..........
..#.......
.###......
..#.....#.
..........
)";
  EngineRig small(art);
  small.Create();
  core::RgbImage large(8192, 4096, 0xFFFFFFFFu);
  for (std::int32_t y = 0; y < small.image.height; ++y) {
    for (std::int32_t x = 0; x < small.image.width; ++x) large.at(x, y) = small.image.at(x, y);
  }
  SilentWindow window;
  ContourEngine engine(window, window, window, window);
  engine.SetImage(&large);
  engine.LetBackColor(0xFFFFFF);
  for (int run = 0; run < 2; ++run) {
    const ContourSet doc = engine.CreateWholeImageContours("0");
    EXPECT_EQ(doc.points, small.doc.points) << "run " << run;
    EXPECT_EQ(doc.count, small.doc.count) << "run " << run;
    EXPECT_EQ(Entries(doc), small.Titles()) << "run " << run;
  }
}

}  // namespace
}  // namespace morvane::engine::testing
