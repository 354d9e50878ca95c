#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "tests/engine/engine_fixture.h"

namespace morvane::engine::testing {
namespace {

using Points = std::vector<ContourPoint>;

// Two squares side by side and a small one below.
constexpr std::string_view kTwoSquares = R"(
............
.###....###.
.###....###.
.###....###.
............
....##......
............
............
)";

void Click(EngineRig& rig, std::int32_t x, std::int32_t y) {
  rig.window.progress2 = "";
  rig.engine.AddContourAtPoint(rig.doc, x * kTwipsPerPixel + 7, y * kTwipsPerPixel + 7, rig.format);
}

TEST(AddContourAtPointTest, AddsReducedContoursAfterNumberedSeparators) {
  EngineRig rig(kTwoSquares, 1);
  rig.format = "00";
  Click(rig, 1, 1);
  EXPECT_EQ(rig.window.progress2, "");
  EXPECT_EQ(rig.Points(), (Points{{0, -1}, {1, 1}, {1, 3}, {3, 3}, {3, 1}}));
  Click(rig, 6, 1);  // background before the right square: the next figure on
  EXPECT_EQ(
      rig.Points(),
      (Points{{0, -1}, {1, 1}, {1, 3}, {3, 3}, {3, 1}, {1, -1}, {8, 1}, {8, 3}, {10, 3}, {10, 1}}));
  EXPECT_EQ(rig.doc.count, 2);
  EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"#00", "#01"}));
}

TEST(AddContourAtPointTest, RefusalsLeaveTheDocumentAlone) {
  std::vector<std::string> art = PictureRows(kTwoSquares);
  art[6][1] = '#';  // an isolated pixel, before the last click in raster order
  EngineRig rig(art, 1);
  Click(rig, 1, 1);
  const ContourPoints before = rig.doc.points;
  struct Case {
    const char* what;
    ContourPoint click;
    const char* message;
  };
  const Case cases[] = {
      {"the same figure from another row", {1, 3}, "Already added."},
      {"the same figure from the background before it", {0, 0}, "Already added."},
      {"nothing after the click", {7, 6}, "No figure found."},
      {"an isolated pixel is no figure", {1, 6}, "No figure found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Click(rig, c.click.x, c.click.y);
    EXPECT_EQ(rig.window.progress2, c.message);
    EXPECT_EQ(rig.doc.points, before);
    EXPECT_EQ(rig.doc.count, 1);
    EXPECT_EQ(rig.doc.titles.size(), 1u);
  }
}

TEST(AddContourAtPointTest, OnePixelArmsAreAddedWithTheirFigure) {
  // A square with a two-pixel spur on its right and one pixel touching its bottom right
  // corner: the trace walks out along each arm and back.
  constexpr std::string_view art = R"(
............
............
..######....
..######....
..########..
..######....
..######....
..######....
........#...
............
............
............
)";
  struct Case {
    const char* what;
    ContourPoint click;
    const char* message;
  };
  const Case cases[] = {
      {"inside the square", {4, 4}, ""},
      {"on the spur's tip", {9, 4}, "Already added."},
      {"on the corner pixel", {8, 8}, "Already added."},
      {"the background before it", {0, 0}, "Already added."},
  };
  EngineRig rig(art, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Click(rig, c.click.x, c.click.y);
    EXPECT_EQ(rig.window.progress2, c.message);
  }
  // Reduced by line of sight, the tips of both arms stay.
  EXPECT_EQ(rig.Points(), (Points{{0, -1}, {2, 2}, {2, 7}, {8, 8}, {7, 4}, {9, 4}, {7, 4}, {7, 2}}));
  EXPECT_EQ(rig.doc.count, 1);
}

TEST(AddContourAtPointTest, ClicksBeyondSixteenBitTwipsReachTheirPixel) {
  std::vector<std::string> wide(3, std::string(3000, '.'));
  wide[1].replace(2990, 3, "###");
  wide[2].replace(2990, 3, "###");
  wide.push_back(std::string(3000, '.'));
  EngineRig rig(wide, 1);
  Click(rig, 2990, 1);
  EXPECT_EQ(rig.window.progress2, "");
  EXPECT_EQ(rig.Points().at(1), (ContourPoint{2990, 1}));
}

TEST(AddContourAtPointTest, ConnectedJoinsToTheNearestContour) {
  EngineRig rig(kTwoSquares, 1);
  rig.engine.Connected = true;
  Click(rig, 1, 1);
  // Nothing to connect to yet: added plainly, with its title.
  EXPECT_EQ(rig.Points(), (Points{{0, -1}, {1, 1}, {1, 3}, {3, 3}, {3, 1}}));
  EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"#0"}));
  Click(rig, 8, 2);
  // One polygon: round the first square from its point nearest the second, across,
  // round the second and back.
  EXPECT_EQ(
      rig.Points(),
      (Points{
          {0, -1}, {3, 3}, {3, 1}, {1, 1}, {1, 3}, {3, 3}, {8, 3}, {10, 3}, {10, 1}, {8, 1}, {8, 3}}));
  EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"#0"}));
  EXPECT_EQ(rig.doc.count, 1) << "separators plus one, less the uncounted leading one";
}

TEST(JoinContoursTest, JoinsTwoContoursAndRenumbers) {
  EngineRig rig(kTwoSquares, 1);
  rig.doc.points = {{0, 0}, {1, 1},  {1, 3}, {3, 3}, {3, 1},  {1, -1}, {5, 5},
                    {6, 5}, {2, -1}, {8, 1}, {8, 3}, {10, 3}, {10, 1}};
  rig.doc.count = 3;
  rig.doc.titles = {{"0", "", false}, {"1", "Lake", true}, {"2", "Hill", true}};
  EXPECT_TRUE(rig.engine.JoinContours(rig.doc, {10, 2}));  // second contour of the pair first
  EXPECT_EQ(rig.Points(), (Points{{3, 3},
                                  {3, 1},
                                  {1, 1},
                                  {1, 3},
                                  {3, 3},
                                  {8, 3},
                                  {10, 3},
                                  {10, 1},
                                  {8, 1},
                                  {8, 3},
                                  {1, -1},
                                  {5, 5},
                                  {6, 5}}));
  EXPECT_EQ(rig.doc.count, 2);
  EXPECT_EQ(rig.Titles(), (std::vector<std::string>{"#0", "#1  Lake"}));
}

TEST(JoinContoursTest, JoinsAtTheNearestPointsBeforeAnyTrace) {
  // A map opened over its image, or with its image missing: no mask has been built.
  const core::RgbImage image = ImageFromArt(kTwoSquares);
  for (const core::RgbImage* picture : {&image, static_cast<const core::RgbImage*>(nullptr)}) {
    ContourSet doc;
    FakeWindow window;
    ContourEngine engine(window, window, window, window);
    engine.SetImage(picture);
    doc.points = {{0, 0}, {1, 1}, {1, 3}, {3, 3}, {3, 1}, {1, -1}, {8, 1}, {8, 3}, {10, 3}, {10, 1}};
    doc.count = 2;
    EXPECT_TRUE(engine.JoinContours(doc, {1, 6}));
    EXPECT_EQ(Points(doc.points.begin() + 1, doc.points.end()),
              (Points{{3, 3}, {3, 1}, {1, 1}, {1, 3}, {3, 3}, {8, 3}, {10, 3}, {10, 1}, {8, 1}, {8, 3}}))
        << (picture ? "with its image" : "without an image");
  }
}

TEST(ConnectToPreviousTest, CoordinatesFarApartDoNotOverflow) {
  // Contours shifted far out: their distances leave 64 bits when squared.
  EngineRig rig(kTwoSquares, 1);
  constexpr std::int32_t kLow = INT32_MIN, kHigh = INT32_MAX;
  ContourPoints existing = {{0, 0}, {kLow, 0}, {2, 2}, {kHigh, 7}};
  ContourPoints newer = {{0, 0}, {kHigh, kHigh}, {kLow, kHigh - 1}, {3, 3}};
  EXPECT_EQ(rig.engine.ConnectToPrevious(existing, newer), 2);
  EXPECT_EQ(existing, (ContourPoints{{0, 0}, {2, 2}, {kHigh, 7}, {kLow, 0}}));
  EXPECT_EQ(newer, (ContourPoints{{0, 0}, {3, 3}, {kHigh, kHigh}, {kLow, kHigh - 1}}));

  // Separators take part here like points.
  rig.doc.points = {{0, 0}, {kLow, kLow}, {kHigh, kHigh}, {5, 5}, {kLow, 0}};
  rig.engine.StartAtNearestOrigin(rig.doc.points);
  EXPECT_EQ(rig.Points(), (Points{{5, 5}, {kLow, 0}, {kLow, kLow}, {kHigh, kHigh}}));
}

TEST(JoinContoursTest, RefusesPairsItCannotJoin) {
  EngineRig rig(kTwoSquares, 1);
  const ContourPoints doc = {{0, 0}, {1, 1}, {1, 3}, {3, 3}, {1, -1}, {8, 1}, {8, 3}};
  struct Case {
    const char* what;
    std::array<std::int32_t, 2> pair;
    const char* message;
  };
  const Case cases[] = {
      {"two points of one contour", {1, 3}, "The same contour."},
      {"the same point twice", {2, 2}, ""},
      {"a separator", {4, 5}, ""},
      {"out of range", {2, 9}, ""},
      {"position 0", {0, 5}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    rig.doc.points = doc;
    rig.window.progress2 = "";
    EXPECT_FALSE(rig.engine.JoinContours(rig.doc, c.pair));
    EXPECT_EQ(rig.doc.points, doc);
    EXPECT_EQ(rig.window.progress2, c.message);
  }
}

TEST(CutBetweenPointsTest, RemovesThePointsStrictlyBetween) {
  EngineRig rig(kTwoSquares, 1);
  const ContourPoints doc = {{0, 0}, {1, 1}, {1, 2}, {1, 3}, {3, 3}, {1, -1}, {8, 1}, {8, 3}};
  struct Case {
    const char* what;
    std::array<std::int32_t, 2> pair;
    ContourPoints expected;
    const char* message;
    bool cut;
  };
  const Case cases[] = {
      {"a stretch of one contour", {4, 1}, {{0, 0}, {1, 1}, {3, 3}, {1, -1}, {8, 1}, {8, 3}}, "", true},
      {"adjacent points: nothing goes", {2, 3}, doc, "", true},
      {"points of two contours", {3, 6}, doc, "Different contours.", false},
      {"a separator", {5, 7}, doc, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    rig.doc.points = doc;
    rig.window.progress2 = "";
    EXPECT_EQ(rig.engine.CutBetweenPoints(rig.doc, c.pair), c.cut);
    EXPECT_EQ(rig.doc.points, c.expected);
    EXPECT_EQ(rig.window.progress2, c.message);
  }
}

TEST(FindNearestPointTest, FindsThePositionAndSelectsItsTitle) {
  EngineRig rig(kTwoSquares, 1);
  rig.doc.points = {{0, 0}, {1, 1}, {3, 3}, {1, -1}, {8, 1}, {8, 3}};
  rig.doc.titles = {UntitledContour(0, "0"), UntitledContour(1, "0")};
  const auto twips = [](double pixel) { return static_cast<float>(pixel * kTwipsPerPixel); };
  // The click's pixel truncates: (8, 2), as far from (8, 1) as from (8, 3); the first wins.
  EXPECT_EQ(rig.engine.FindNearestPoint(rig.doc, twips(8.4), twips(2.6)), 4);
  EXPECT_EQ(rig.window.selectedTitle, 1);
  EXPECT_EQ(rig.window.cursor, (std::pair<double, double>{8 * 15.0, 1 * 15.0}));
  // Near (1, -1) the separator itself is nearest; it belongs to the contour before.
  EXPECT_EQ(rig.engine.FindNearestPoint(rig.doc, twips(1), twips(-1)), 3);
  EXPECT_EQ(rig.window.selectedTitle, 0);
  rig.doc.points = EmptyContourPoints();
  EXPECT_EQ(rig.engine.FindNearestPoint(rig.doc, 0, 0), 0);
}

TEST(FindNearestPointTest, ClicksFarOutsideAnswerAPosition) {
  EngineRig rig(kTwoSquares, 1);
  rig.doc.points = {{0, 0}, {1, 1}, {3, 3}, {1, -1}, {8, 1}, {8, 3}};
  rig.doc.titles = {UntitledContour(0, "0"), UntitledContour(1, "0")};
  struct Case {
    float x, y;
    std::int32_t expected;
  };
  const Case cases[] = {
      {1e30f, 1e30f, 5},
      {-1e30f, 0, 1},
      {std::nanf(""), 15, 1},
      // Far below: (3, 3) and (8, 3) round to the same distance; the first wins.
      {120, std::numeric_limits<float>::infinity(), 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rig.engine.FindNearestPoint(rig.doc, c.x, c.y), c.expected) << c.x << ", " << c.y;
  }
}

TEST(StartAtNearestOriginTest, FirstNearestWins) {
  EngineRig rig(kTwoSquares, 1);
  rig.doc.points = {{0, 0}, {5, 5}, {3, 4}, {4, 3}, {6, 1}};
  rig.engine.StartAtNearestOrigin(rig.doc.points);
  EXPECT_EQ(rig.Points(), (Points{{3, 4}, {4, 3}, {6, 1}, {5, 5}}));
}

}  // namespace
}  // namespace morvane::engine::testing
