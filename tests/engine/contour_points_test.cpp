#include "engine/contour_points.h"

#include <gtest/gtest.h>

#include "engine/contour_set.h"

namespace morvane::engine {
namespace {

constexpr ContourPoint S{0, -1};  // a separator whose number is renumbered

ContourPoints Array(std::initializer_list<ContourPoint> elements) {
  ContourPoints points = EmptyContourPoints();
  points.insert(points.end(), elements);
  return points;
}

std::vector<std::int32_t> SeparatorNumbers(const ContourPoints& points) {
  std::vector<std::int32_t> numbers;
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (IsSeparator(points[k])) {
      numbers.push_back(points[k].x);
    }
  }
  return numbers;
}

TEST(RenumberContoursTest, NumbersContoursInArrayOrder) {
  struct Case {
    const char* what;
    ContourPoints points;
    std::vector<std::int32_t> numbers;
    std::int32_t count;
  };
  const Case cases[] = {
      {"empty document", Array({}), {}, 0},
      {"one contour", Array({{1, 1}, {2, 2}}), {}, 1},
      {"canonical three", Array({{1, 1}, S, {2, 2}, S, {3, 3}}), {1, 2}, 3},
      {"added at a click to an empty document", Array({S, {1, 1}, S, {2, 2}}), {0, 1}, 2},
      {"only contour deleted, its separator left", Array({S}), {0}, 0},
      {"a trailing separator counts nothing", Array({{1, 1}, S, {2, 2}, S}), {1, 2}, 2},
      {"two separators in a row", Array({{1, 1}, S, S, {2, 2}}), {1, 1}, 2},
  };
  for (const Case& c : cases) {
    ContourPoints points = c.points;
    std::int32_t count = -7;
    RenumberContours(points, count);
    EXPECT_EQ(SeparatorNumbers(points), c.numbers) << c.what;
    EXPECT_EQ(count, c.count) << c.what;
  }
}

TEST(GetContourRangeTest, FindsTheStretchAroundAPosition) {
  // 1 2 | 4 5 6 | 8
  const ContourPoints points = Array({{1, 1}, {2, 1}, S, {4, 1}, {5, 1}, {6, 1}, S, {8, 1}});
  struct Case {
    std::int32_t i, first, last;
  };
  const Case cases[] = {
      {1, 1, 2},  {2, 1, 2}, {4, 4, 6}, {5, 4, 6},
      {6, 4, 6},  {8, 8, 8}, {3, 1, 6},  // a separator itself is not examined
      {20, 8, 8},                        // past the end
  };
  for (const Case& c : cases) {
    std::int32_t first = 0, last = 0;
    GetContourRange(points, c.i, first, &last);
    EXPECT_EQ(first, c.first) << c.i;
    EXPECT_EQ(last, c.last) << c.i;
  }
  std::int32_t first = 0;
  GetContourRange(points, 5, first);
  EXPECT_EQ(first, 4);
}

TEST(RotateContourTest, BringsStartToTheFront) {
  const ContourPoints three = Array({{1, 1}, {2, 1}, S, {4, 1}, {5, 1}, {6, 1}, S, {8, 1}});
  struct Case {
    const char* what;
    std::int32_t start;
    bool within;
    ContourPoints expected;
  };
  const Case cases[] = {
      {"start at the front", 1, false, three},
      {"whole array", 3, false, Array({S, {4, 1}, {5, 1}, {6, 1}, S, {8, 1}, {1, 1}, {2, 1}})},
      {"middle contour only", 6, true, Array({{1, 1}, {2, 1}, S, {6, 1}, {4, 1}, {5, 1}, S, {8, 1}})},
      {"first of its contour", 4, true, three},
      {"out of range does nothing", 0, true, three},
  };
  for (const Case& c : cases) {
    ContourPoints points = three;
    RotateContour(points, c.start, c.within);
    EXPECT_EQ(points, c.expected) << c.what;
  }
  ContourPoints empty = EmptyContourPoints();
  RotateContour(empty, 1, false);
  EXPECT_EQ(empty, EmptyContourPoints());
}

TEST(CopyPointsTest, CopiesAndResetsElementZero) {
  ContourPoints source = Array({{3, 4}, S});
  source[0] = {9, 9};
  ContourPoints destination = Array({{7, 7}, {7, 7}, {7, 7}});
  CopyPoints(source, destination);
  EXPECT_EQ(destination, Array({{3, 4}, S}));
  CopyPoints(EmptyContourPoints(), destination);
  EXPECT_EQ(destination, EmptyContourPoints());
}

TEST(PointsEqualTest, ComparesSeparatorsLikePoints) {
  EXPECT_TRUE(PointsEqual({3, -1}, {3, -1}));
  EXPECT_FALSE(PointsEqual({3, -1}, {4, -1}));
  EXPECT_FALSE(PointsEqual({1, 2}, {2, 1}));
}

TEST(PackedPointsTest, GivesBackEveryPointAsItWasAppended) {
  // Steps within the packed range, at its edges, the one step that is no step (-8, -8),
  // jumps, separators, extremes, and enough points to fill several blocks.
  ContourPoints points = EmptyContourPoints();
  for (const ContourPoint p : {ContourPoint{0, 0},
                               {7, 7},
                               {-1, -1},
                               {-9, -9},
                               {-1, -1},
                               {-8, 7},
                               {0, -1},
                               {INT32_MAX, INT32_MIN},
                               {INT32_MIN, INT32_MAX},
                               {3, 4}}) {
    points.push_back(p);
  }
  for (std::int32_t k = 0; k < 100000; ++k) {
    const ContourPoint last = points.back();
    points.push_back(k % 997 == 0 ? Separator(k)
                                  : ContourPoint{last.x + (k % 3) - 1, last.y + (k % 5) - 2});
  }
  PackedPoints packed;
  packed.Reset();
  packed.append(points.data() + 1, points.data() + 50);
  for (std::size_t k = 50; k < points.size(); ++k) {
    packed.push_back(points[k]);
  }
  EXPECT_EQ(packed.size(), points.size());
  ContourPoints back;
  packed.MoveTo(back);
  EXPECT_EQ(back, points);
  EXPECT_EQ(packed.size(), 1u);
}

TEST(ContourTitleTest, PadsTheNumberAfterItsSign) {
  EXPECT_EQ(UntitledEntry(0, "00"), "#00");
  EXPECT_EQ(UntitledEntry(7, "000"), "#007");
  EXPECT_EQ(UntitledEntry(123, "0"), "#123");
  EXPECT_EQ(FormatContourNumber(-5, "00"), "-05");
  EXPECT_EQ(FormatContourNumber(42, ""), "42");
}

TEST(ContourTitleTest, KeepsItsOwnLinkThroughCopiesAndMoves) {
  const ContourTitle kitchen{"00", "Kitchen", true, "kitchen.html"};
  ContourTitle copied = kitchen;
  EXPECT_EQ(copied.href.Text(), "kitchen.html");
  EXPECT_EQ(TitleEntry(copied), "kitchen.html  Kitchen");
  ContourTitle assigned{"01"};
  assigned = kitchen;
  EXPECT_EQ(assigned, kitchen);
  const ContourTitle& same = assigned;
  assigned = same;
  EXPECT_EQ(assigned.href.Text(), "kitchen.html");
  ContourTitle moved = std::move(copied);
  EXPECT_EQ(moved.href.Text(), "kitchen.html");

  const ContourTitle plain{"02"};
  EXPECT_TRUE(plain.href.Empty());
  EXPECT_EQ(plain.href.Text(), "");
  EXPECT_EQ(TitleEntry(plain), "#02");
  EXPECT_TRUE(ContourTitle("02", {}, false, "").href.Empty());
  EXPECT_NE(plain, ContourTitle("02", {}, false, "#02"));
}

TEST(DropEmptyContoursTest, KeepsTheContoursWithPointsNumberedInOrder) {
  const ContourPoint a{1, 1}, b{2, 2}, c{3, 3};
  const ContourTitle lake{"00", "Lake", true}, hill{"02", "Hill", true};
  const auto untitled = [](const char* number) { return ContourTitle{number, {}, false}; };
  struct Case {
    const char* what;
    ContourPoints points;
    std::vector<ContourTitle> titles;
    ContourPoints kept;
    std::int32_t count;
    std::vector<ContourTitle> keptTitles;
  };
  const Case cases[] = {
      {"none empty",
       Array({a, b, {1, -1}, c}),
       {lake, untitled("01")},
       Array({a, b, {1, -1}, c}),
       2,
       {lake, untitled("01")}},
      {"the first",
       Array({{1, -1}, b, c}),
       {untitled("00"), untitled("01")},
       Array({b, c}),
       1,
       {untitled("00")}},
      {"one in the middle",
       Array({a, {1, -1}, {2, -1}, c}),
       {lake, untitled("01"), hill},
       Array({a, {1, -1}, c}),
       2,
       {lake, ContourTitle{"01", "Hill", true}}},
      {"the last", Array({a, b, {1, -1}}), {lake, untitled("01")}, Array({a, b}), 1, {lake}},
      {"all",
       Array({{1, -1}, {2, -1}}),
       {untitled("00"), untitled("01"), untitled("02")},
       EmptyContourPoints(),
       0,
       {}},
      {"no points at all", EmptyContourPoints(), {}, EmptyContourPoints(), 0, {}},
      {"fewer titles than contours",
       Array({{1, -1}, a, {2, -1}, b}),
       {lake},
       Array({a, {1, -1}, b}),
       2,
       {untitled("00"), untitled("01")}},
      {"more titles than contours", Array({a}), {lake, untitled("01"), hill}, Array({a}), 1, {lake}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    ContourSet set;
    set.points = row.points;
    set.titles = row.titles;
    set.count = static_cast<std::int32_t>(row.titles.size());
    DropEmptyContours(set, "00");
    EXPECT_EQ(set.points, row.kept);
    EXPECT_EQ(set.count, row.count);
    EXPECT_EQ(set.titles, row.keptTitles);
  }
}

}  // namespace
}  // namespace morvane::engine
