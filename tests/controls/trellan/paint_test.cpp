#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "controls/trellan/trellan_paint.h"
#include "tests/support/picture_rows.h"

namespace morvane::trellan {
namespace {

using morvane::testing::PictureRows;

// Distinct colours, one letter each in the rendered picture.
constexpr BarColors kColors{0x101010, 0x202020, 0x303030, 0x404040, 0x505050};
constexpr BarColors kOther{0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0};

char Letter(Rgb color) {
  switch (color) {
    case 0x101010: return 'b';
    case 0x202020: return '1';
    case 0x303030: return '2';
    case 0x404040: return '3';
    case 0x505050: return '4';
    case 0xA0A0A0: return 'B';
    case 0xB0B0B0: return 'W';
    case 0xC0C0C0: return 'X';
    case 0xD0D0D0: return 'Y';
    case 0xE0E0E0: return 'Z';
    default: return '?';
  }
}

// The pieces painted in order over a blank (".") picture.
std::vector<std::string> Render(const std::vector<Piece>& pieces, int width, int height,
                                std::vector<std::string> picture = {}) {
  if (picture.empty())
    picture.assign(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), '.'));
  for (const Piece& p : pieces) {
    for (int y = p.y; y < p.y + p.height; ++y) {
      for (int x = p.x; x < p.x + p.width; ++x) {
        if (y >= 0 && y < height && x >= 0 && x < width)
          picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = Letter(p.color);
      }
    }
  }
  return picture;
}

struct SolidRow {
  int thickness;
  std::string_view want;  // a horizontal bar 5 px long
};

TEST(SolidBar, LinesByThickness) {
  const std::vector<SolidRow> rows{
      {2, R"(
11111
22222
)"},
      {3, R"(
11111
22222
44444
)"},
      {4, R"(
11111
22222
33333
44444
)"},
      {6, R"(
11111
22222
bbbbb
bbbbb
33333
44444
)"},
  };
  for (const SolidRow& row : rows) {
    EXPECT_EQ(Render(SolidBarPieces(5, row.thickness, false, kColors), 5, row.thickness),
              PictureRows(row.want))
        << row.thickness;
  }
}

TEST(SolidBar, VerticalLinesRunTheWholeLength) {
  EXPECT_EQ(Render(SolidBarPieces(4, 3, true, kColors), 4, 3), PictureRows(R"(
1234
1234
1234
)"));
}

TEST(DashedRun, PiecesAlongTheRun) {
  struct Row {
    int length, dash, gap;
    std::string want;
  };
  const std::vector<Row> rows{
      {9, 2, 2, "11..11..."}, {9, 1, 1, "1.1.1.1.1"},
      {8, 3, 1, "111.111."},  {6, 0, 2, "111111"},  // no dash: solid over the whole length
      {6, 2, 0, "111111"},                          // no gap: solid too
      {5, 9, 9, "11111"},                           // a dash longer than the run: one piece
      {0, 2, 2, "........."},
  };
  for (const Row& row : rows) {
    const auto pieces = DashedRun(0, 0, row.length, 1, row.dash, row.gap, 0x202020, false);
    const int width = static_cast<int>(row.want.size());
    EXPECT_EQ(Render(pieces, width, 1)[0], row.want) << row.length << " " << row.dash << " " << row.gap;
  }
}

TEST(DashedBar, KeyColourAvoidsTheBarsColours) {
  BarColors withRed = kColors;
  withRed[2] = 0xFF0000;
  EXPECT_EQ(DashKeyColor(kColors), 0xFF0000u);
  EXPECT_EQ(DashKeyColor(withRed), 0x00FF00u);
  const BarColors primaries{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF};
  EXPECT_EQ(DashKeyColor(primaries), 0x00FFFFu);
  // Close to red is not red: colours compare exactly.
  BarColors nearRed = kColors;
  nearRed[0] = 0xFE0000;
  EXPECT_EQ(DashKeyColor(nearRed), 0xFF0000u);
}

TEST(DashedBar, OnlyTheDashesArePainted) {
  EXPECT_EQ(Render(DashedBarPieces(8, 6, false, kColors, 2), 8, 6), PictureRows(R"(
11..11..
22..22..
bb..bb..
bb..bb..
33..33..
44..44..
)"));
  EXPECT_EQ(Render(DashedBarPieces(4, 5, true, kColors, 2), 4, 5), PictureRows(R"(
1234
1234
....
....
....
)"));
}

struct JunctionRow {
  const char* name;
  std::int32_t mode;
  bool sameContainer;
  Box other;
  std::vector<JunctionSpot> want;
};

TEST(Junctions, FoundByMode) {
  // A vertical bar at x 100, 6 px wide, 200 px long from y 0.
  const Box me{100, 0, 6, 200};
  const Box crossing{0, 50, 300, 5};    // runs across the whole bar
  const Box endsAtLeft{0, 80, 100, 5};  // ends at the bar's left side
  const Box startsAtRight{106, 120, 50, 5};
  const std::vector<JunctionRow> rows{
      {"NoneDrawsNothing", 0, true, crossing, {}},
      {"HomogeneousSameContainer", 2, true, crossing, {{0, 50}, {5, 50}}},
      {"HomogeneousOtherContainer", 2, false, crossing, {}},
      {"AllAnyContainer", 3, false, crossing, {{0, 50}, {5, 50}}},
      {"HierarchicLeft", 1, false, endsAtLeft, {{0, 80}}},
      {"HierarchicRight", 1, false, startsAtRight, {{5, 120}}},
      {"HierarchicSameContainer", 1, true, endsAtLeft, {}},
      {"OutsideTheSpan", 3, true, {0, 250, 300, 5}, {}},
  };
  for (const JunctionRow& row : rows) {
    EXPECT_EQ(FindJunctions(row.mode, true, me, row.other, row.sameContainer), row.want) << row.name;
  }
  // A horizontal bar: the same with the axes exchanged.
  EXPECT_EQ(FindJunctions(2, false, {0, 100, 200, 6}, {50, 0, 5, 300}, true),
            (std::vector<JunctionSpot>{{0, 50}, {5, 50}}));
}

TEST(Junctions, CarryTheOtherBarsLinesThroughTheEdge) {
  // A vertical bar 4 px wide; a 6 px horizontal bar crosses it at offset 1.
  std::vector<std::string> picture = Render(SolidBarPieces(4, 8, true, kColors), 4, 8);
  picture = Render(JunctionPieces({0, 1}, true, 6, kOther), 4, 8, picture);
  picture = Render(JunctionPieces({3, 1}, true, 6, kOther), 4, 8, picture);
  EXPECT_EQ(picture, PictureRows(R"(
1234
WWWW
XXXX
BBBB
BBBB
YYYY
ZZZZ
1234
)"));
}

TEST(BorderCut, OpensTheSunkenBorderWhereTheBarMeetsIt) {
  // A vertical bar 6 px wide at x 4 in a container 16 x 8 px.
  const auto picture = Render(BorderCutPieces({4, 2, 6, 4}, true, 16, 8, kColors), 16, 8);
  EXPECT_EQ(picture, PictureRows(R"(
.....bbb........
.....2bb3.......
................
................
................
................
.....2bb3.......
......bb........
)"));
  // A bar too thin to hold inner lines leaves the border alone.
  EXPECT_TRUE(BorderCutPieces({4, 2, 3, 4}, true, 16, 8, kColors).empty());
}

}  // namespace
}  // namespace morvane::trellan
