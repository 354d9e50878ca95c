#include "app/edit_commands.h"

#include <gtest/gtest.h>

#include "engine/contour_points.h"

namespace morvane::app {
namespace {

using engine::ContourPoint;
using engine::ContourPoints;
using engine::ContourSet;
using engine::ContourTitle;
using Points = std::vector<ContourPoint>;

constexpr ContourPoint Sep(std::int32_t n) { return {n, -1}; }

// Three contours: a square of 4 (elements 1-4), a triangle (6-8), a square of 4 (10-13).
ContourSet ThreeContours() {
  ContourSet set;
  set.points = {{0, 0},  {1, 1},  {1, 5}, {5, 5},  {5, 1},  Sep(1),  {10, 1},
                {12, 5}, {14, 1}, Sep(2), {20, 1}, {20, 5}, {24, 5}, {24, 1}};
  set.count = 3;
  set.titles = {{"00", "Roof", true}, {"01", "", false}, {"02", "Door", true}};
  return set;
}

std::vector<std::string> Entries(const ContourSet& set) {
  std::vector<std::string> entries;
  for (const ContourTitle& t : set.titles) entries.push_back(engine::TitleEntry(t));
  return entries;
}

TEST(ElementTextTest, PointsAndHeadings) {
  EXPECT_EQ(ElementText({12, 34}, "00"), "12,34");
  EXPECT_EQ(ElementText(Sep(1), "00"), "#01");
  EXPECT_EQ(ElementText(Sep(12), "0"), "#12");
  EXPECT_EQ(FirstHeadingText("000"), "#000");
}

TEST(ValOfTest, ReadsTheLeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"12", 12},    {" 34", 34}, {"1 2", 12},    {"-3", -3},   {"a5", 0},
               {"", 0},       {"1-2", 1},  {"1.2.3", 1.2}, {"0.5", 0.5}, {"-", 0},
               {"1e3", 1000}, {"2e", 2},   {"+7,1", 7},    {".5", 0.5}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ValOf(c.text), c.value) << c.text;
}

TEST(LabelEntryTest, OnlyTheCanonicalFormIsAccepted) {
  const struct {
    const char* text;
    bool accepted;
    ContourPoint point;
  } cases[] = {
      {"12,34", true, {12, 34}},
      {" 12,34", false, {}},
      {"12, 34", false, {}},
      {"-12,34", false, {}},
      {"012,34", false, {}},
      {"12", false, {}},
      {"12.5,3", true, {12, 3}},  // rounded halves to even
      {"13.5,3", true, {14, 3}},
      {"0,0", true, {0, 0}},
      {"2147483647,1", true, {2147483647, 1}},
      {"2147483648,1", false, {}},  // beyond 32 bits
      {"99999999999999999999,1", false, {}},
      {"", false, {}},
      {",", false, {}},
  };
  for (const auto& c : cases) {
    const std::optional<ContourPoint> p = ParseLabelEntry(c.text);
    EXPECT_EQ(p.has_value(), c.accepted) << c.text;
    if (p && c.accepted) {
      EXPECT_EQ(*p, c.point) << c.text;
    }
  }
}

TEST(NewPointTest, NormalisesOrRefuses) {
  EXPECT_EQ(ParseNewPoint(" 12, -34"), (ContourPoint{12, 34}));
  EXPECT_EQ(ParseNewPoint("7"), (ContourPoint{7, 0}));
  EXPECT_FALSE(ParseNewPoint("   "));
  EXPECT_FALSE(ParseNewPoint(""));
  EXPECT_FALSE(ParseNewPoint("1,3000000000"));
}

TEST(PointElementTest, HeadingsMoveToTheFirstPointUnderThem) {
  const ContourSet set = ThreeContours();
  const struct {
    std::int32_t element, point;
  } cases[] = {{-1, 1}, {0, 1}, {1, 1}, {4, 4}, {5, 6}, {9, 10}, {13, 13}, {99, 10}};
  for (const auto& c : cases) EXPECT_EQ(PointElementOf(set.points, c.element), c.point) << c.element;
  EXPECT_EQ(PointElementOf(engine::EmptyContourPoints(), 0), 0);
}

TEST(DeletePointTest, DownToTheDeleteContourMessage) {
  ContourSet set = ThreeContours();
  EditOutcome out = DeletePoint(set, 2);
  EXPECT_TRUE(out.done);
  EXPECT_EQ(out.selected, 2);
  EXPECT_EQ(set.points, (Points{{0, 0},
                                {1, 1},
                                {5, 5},
                                {5, 1},
                                Sep(1),
                                {10, 1},
                                {12, 5},
                                {14, 1},
                                Sep(2),
                                {20, 1},
                                {20, 5},
                                {24, 5},
                                {24, 1}}));
  const ContourSet before = set;
  out = DeletePoint(set, 1);
  EXPECT_FALSE(out.done);
  EXPECT_EQ(out.message, kUseDeleteContour);
  EXPECT_EQ(set, before);
}

TEST(DeletePointTest, AHeadingSelectionDeletesFromTheContourUnderIt) {
  // Deleting "over" the separator would merge two contours: it moves to a point first.
  ContourSet set = ThreeContours();
  const EditOutcome out = DeletePoint(set, 9);  // the heading #02
  EXPECT_TRUE(out.done);
  EXPECT_EQ(set.points, (Points{{0, 0},
                                {1, 1},
                                {1, 5},
                                {5, 5},
                                {5, 1},
                                Sep(1),
                                {10, 1},
                                {12, 5},
                                {14, 1},
                                Sep(2),
                                {20, 5},
                                {24, 5},
                                {24, 1}}));
  // A triangle under its heading is refused, not its neighbour.
  set = ThreeContours();
  EXPECT_EQ(DeletePoint(set, 5).message, kUseDeleteContour);
  EXPECT_EQ(set, ThreeContours());
}

TEST(DeletePointTest, TheLastElementSelectsTheNewLast) {
  ContourSet set = ThreeContours();
  const EditOutcome out = DeletePoint(set, 13);
  EXPECT_TRUE(out.done);
  EXPECT_EQ(out.selected, 12);
  EXPECT_EQ(engine::UpperBound(set.points), 12);
}

TEST(InsertPointTest, AfterThePointOrTheFirstPointUnderAHeading) {
  ContourSet set = ThreeContours();
  EXPECT_EQ(InsertPointAfter(set, 7, {13, 6}), 8);
  EXPECT_EQ(set.points[8], (ContourPoint{13, 6}));
  EXPECT_EQ(set.points[10], Sep(2));
  set = ThreeContours();
  EXPECT_EQ(InsertPointAfter(set, 5, {9, 9}), 7);  // heading #01: after its first point
  EXPECT_EQ(set.points[5], Sep(1));
  ContourSet empty;
  EXPECT_EQ(InsertPointAfter(empty, 0, {1, 1}), 0);
}

TEST(ChangePointTest, PointsOnly) {
  ContourSet set = ThreeContours();
  EXPECT_TRUE(ChangePoint(set, 2, {2, 6}));
  EXPECT_EQ(set.points[2], (ContourPoint{2, 6}));
  EXPECT_FALSE(ChangePoint(set, 2, {2, 6}));  // unchanged
  EXPECT_FALSE(ChangePoint(set, 5, {2, 6}));  // a separator
  EXPECT_FALSE(ChangePoint(set, 0, {2, 6}));
}

TEST(DeleteContourTest, OnlyFirstMiddleAndLast) {
  const struct {
    const char* what;
    std::int32_t element;
    Points points;
    std::int32_t count;
    std::vector<std::string> titles;
  } cases[] = {
      {"first",
       2,
       {{0, 0}, {10, 1}, {12, 5}, {14, 1}, Sep(1), {20, 1}, {20, 5}, {24, 5}, {24, 1}},
       2,
       {"#00", "#01  Door"}},
      {"middle, from its heading",
       5,
       {{0, 0}, {1, 1}, {1, 5}, {5, 5}, {5, 1}, Sep(1), {20, 1}, {20, 5}, {24, 5}, {24, 1}},
       2,
       {"#00  Roof", "#01  Door"}},
      {"last: the separator before it goes",
       12,
       {{0, 0}, {1, 1}, {1, 5}, {5, 5}, {5, 1}, Sep(1), {10, 1}, {12, 5}, {14, 1}},
       2,
       {"#00  Roof", "#01"}},
  };
  for (const auto& c : cases) {
    ContourSet set = ThreeContours();
    EXPECT_TRUE(DeleteContour(set, c.element, "00")) << c.what;
    EXPECT_EQ(set.points, c.points) << c.what;
    EXPECT_EQ(set.count, c.count) << c.what;
    EXPECT_EQ(Entries(set), c.titles) << c.what;
  }
  ContourSet only;
  only.points = {{0, 0}, {1, 1}, {1, 5}, {5, 5}};
  only.count = 1;
  only.titles = {{"00", "A", true}};
  EXPECT_TRUE(DeleteContour(only, 3, "00"));
  EXPECT_EQ(engine::UpperBound(only.points), 0);
  EXPECT_TRUE(only.titles.empty());
  EXPECT_EQ(only.count, 0);  // the engine numbers the next contour like its title
  EXPECT_FALSE(DeleteContour(only, 1, "00"));
}

TEST(DeleteContourTest, ALeadingSeparatorGoesWithTheOnlyContour) {
  ContourSet set;
  set.points = {{0, 0}, Sep(0), {1, 1}, {1, 5}, {5, 5}};
  set.count = 1;
  set.titles = {{"00", "", false}};
  EXPECT_TRUE(DeleteContour(set, 3, "00"));
  EXPECT_EQ(engine::UpperBound(set.points), 0);
}

TEST(ReverseContoursTest, TitlesFollowAndTwiceRestores) {
  ContourSet set = ThreeContours();
  ReverseContours(set, "00");
  EXPECT_EQ(set.points, (Points{{0, 0},
                                {24, 1},
                                {24, 5},
                                {20, 5},
                                {20, 1},
                                Sep(1),
                                {14, 1},
                                {12, 5},
                                {10, 1},
                                Sep(2),
                                {5, 1},
                                {5, 5},
                                {1, 5},
                                {1, 1}}));
  EXPECT_EQ(Entries(set), (std::vector<std::string>{"#00  Door", "#01", "#02  Roof"}));
  EXPECT_EQ(set.count, 3);
  ReverseContours(set, "00");
  EXPECT_EQ(set, ThreeContours());
}

TEST(RenumberTitlesTest, NumbersOnlyWhereTheyWereNumbers) {
  std::vector<ContourTitle> titles = {{"05", "a", true}, {"x7", "", false}, {"9", "", false}};
  RenumberTitles(titles, "000");
  EXPECT_EQ(titles[0].number, "000");
  EXPECT_EQ(titles[1].number, "x7");
  EXPECT_EQ(titles[2].number, "002");
}

TEST(SetBeginningTest, RotatesWithinItsContour) {
  ContourSet set = ThreeContours();
  EXPECT_TRUE(SetBeginning(set, 12));
  EXPECT_EQ(set.points[10], (ContourPoint{24, 5}));
  EXPECT_EQ(set.points[13], (ContourPoint{20, 5}));
  EXPECT_EQ(set.points[9], Sep(2));
  EXPECT_FALSE(SetBeginning(set, 9));   // a separator
  EXPECT_FALSE(SetBeginning(set, 10));  // already first
}

TEST(ShiftContoursTest, HeldAtZeroAndAtTheLimit) {
  const struct {
    double dx, dy;
    ContourPoint in, out;
  } cases[] = {
      {-10, 0, {5, 5}, {0, 5}},
      {-10, 0, {15, 5}, {5, 5}},
      {3, -3, {5, 5}, {8, 2}},
      {1e12, 0, {5, 5}, {2147483647, 5}},
      {2147483647.0, 0, {2147483647, 5}, {2147483647, 5}},
  };
  for (const auto& c : cases) {
    ContourSet set;
    set.points = {{0, 0}, c.in, Sep(1), c.in};
    ShiftContours(set, c.dx, c.dy);
    EXPECT_EQ(set.points[1], c.out);
    EXPECT_EQ(set.points[2], Sep(1));
    EXPECT_EQ(set.points[3], c.out);
  }
}

TEST(ResizeContoursTest, HalvesToEvenAndHeld) {
  const struct {
    double factor;
    ContourPoint in, out;
  } cases[] = {
      {0.5, {5, 7}, {2, 4}}, {1.5, {3, 1}, {4, 2}},  // 4.5 -> 4, 1.5 -> 2
      {0, {3, 1}, {0, 0}},   {1e10, {3, 0}, {2147483647, 0}},
      {-2, {3, 1}, {0, 0}},  // never a negative y, which would read as a separator
  };
  for (const auto& c : cases) {
    ContourSet set;
    set.points = {{0, 0}, c.in, Sep(1)};
    ResizeContours(set, c.factor);
    EXPECT_EQ(set.points[1], c.out) << c.factor;
    EXPECT_EQ(set.points[2], Sep(1));
  }
}

TEST(TitleTest, SetsOnlyExistingTitles) {
  ContourSet set = ThreeContours();
  EXPECT_TRUE(SetContourTitle(set, 1, "Window"));
  EXPECT_EQ(engine::TitleEntry(set.titles[1]), "#01  Window");
  EXPECT_FALSE(SetContourTitle(set, 3, "x"));
  EXPECT_FALSE(SetContourTitle(set, -1, "x"));
  EXPECT_EQ(TitlePart("#01  Roof  top"), "Roof  top");
  EXPECT_EQ(TitlePart("#01"), "");
  EXPECT_EQ(NumberPart("#01  Roof"), "#01");
  EXPECT_EQ(NumberPart("#01"), "#01");
}

TEST(StatisticsTextTest, CountsWhatTheMapHolds) {
  using engine::ContourPoints;
  const struct {
    const char* what;
    ContourPoints points;
    MapContents counted;
  } cases[] = {
      {"empty", {{0, 0}}, {0, 0}},
      {"one contour", {{0, 0}, {1, 1}, {2, 1}, {2, 2}}, {3, 1}},
      {"two, the separator no point", {{0, 0}, {1, 1}, {2, 1}, {1, -1}, {5, 5}, {6, 5}}, {4, 2}},
      {"separators without points between", {{0, 0}, {1, -1}, {1, 1}, {2, -1}, {3, -1}, {5, 5}}, {2, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CountMapContents(c.points), c.counted);
  }
}

TEST(StatisticsTextTest, ImagePartPointsAndContours) {
  const struct {
    const char* progress1;
    std::int32_t upper, count;
    const char* text;
  } cases[] = {
      {"640x480", 57, 3, "640x480 - 57 points (3 contours)."},
      {"640x480 - 9 points.", 32, 2, "640x480 - 32 points (2 contours)."},
      {"Ready", 32, 2, "Ready - 32 points (2 contours)."},
      {"8x8", 4, 1, "8x8 - 4 points (1 contour)."},
      {"8x8", 4, 0, "8x8 - 4 points."},
  };
  for (const auto& c : cases) EXPECT_EQ(StatisticsText(c.progress1, c.upper, c.count), c.text);
}

}  // namespace
}  // namespace morvane::app
