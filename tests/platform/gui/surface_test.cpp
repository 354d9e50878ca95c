#include "platform/gui/surface.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include <map>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/picture_rows.h"

namespace morvane::gui {
namespace {

using Art = std::vector<std::string>;
using morvane::testing::PictureRows;

// One letter per colour, so that expected pictures read as ASCII art.
const std::map<char, OleColor>& Letters() {
  static const std::map<char, OleColor> m = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0x0000FF},
                                             {'g', 0x00FF00}, {'b', 0xFF0000}, {'y', 0x00FFFF},
                                             {'c', 0xFFFF00}, {'m', 0xFF00FF}};
  return m;
}

char LetterOf(std::int32_t ole) {
  for (const auto& [ch, c] : Letters()) {
    if (static_cast<std::int32_t>(c) == ole) return ch;
  }
  return '?';
}

QImage ImageFromArt(std::string_view picture) {
  const Art art = PictureRows(picture);
  QImage img(static_cast<int>(art[0].size()), static_cast<int>(art.size()), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      img.setPixel(
          x, y, OleToQRgb(Letters().at(art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])));
    }
  }
  return img;
}

Art ArtOf(const Surface& s) {
  Art out;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) row += LetterOf(s.Point(x, y));
    out.push_back(row);
  }
  return out;
}

// A white surface with a black pen, the way the program's work pictures start.
Surface White(int w, int h) {
  Surface s(w, h);
  s.SetBackColor(0xFFFFFF);
  s.SetForeColor(0x000000);
  s.Cls();
  return s;
}

Surface FromArt(std::string_view picture) {
  const QImage image = ImageFromArt(picture);
  Surface s = White(image.width(), image.height());
  s.SetAutoSize(true);
  s.SetPicture(image);
  return s;
}

struct LineCase {
  const char* name;
  double x1, y1, x2, y2;
  int width;
  std::string_view expected;
};

TEST(SurfaceLineTest, CoversStartAndLeavesOutEnd) {
  const std::vector<LineCase> cases = {
      {"horizontal", 0, 0, 4, 0, 1, R"(
####.
.....
.....
)"},
      {"reversed", 4, 1, 0, 1, 1, R"(
.....
.####
.....
)"},
      {"vertical", 2, 0, 2, 2, 1, R"(
..#..
..#..
.....
)"},
      {"diagonal", 0, 0, 2, 2, 1, R"(
#....
.#...
.....
)"},
      {"shallow, ties stay on the start row", 0, 0, 4, 2, 1, R"(
##...
..##.
.....
)"},
      {"shallow reversed breaks its ties the other way", 4, 2, 0, 0, 1, R"(
.....
.##..
...##
)"},
      {"zero length draws nothing", 2, 1, 2, 1, 1, R"(
.....
.....
.....
)"},
      {"rounded to the nearest pixel", 0.4, 0.6, 2.5, 0.6, 1, R"(
.....
##...
.....
)"},
      {"wide pen includes its end", 1, 1, 3, 1, 3, R"(
#####
#####
#####
)"},
      {"clipped at the edges", -3, 1, 9, 1, 1, R"(
.....
#####
.....
)"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    Surface s = White(5, 3);
    s.SetDrawWidth(c.width);
    s.Line(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(ArtOf(s), PictureRows(c.expected));
    EXPECT_EQ(s.CurrentX(), c.x2);
    EXPECT_EQ(s.CurrentY(), c.y2);
  }
}

TEST(SurfaceLineTest, StartsAtDrawingPositionAndStepsAreRelative) {
  Surface s = White(6, 3);
  s.SetCurrentX(1);
  s.SetCurrentY(1);
  s.Line(false, std::nullopt, false, QPointF(3, 1));           // from the drawing position
  s.Line(true, QPointF(0, 1), true, QPointF(2, 0), 0x0000FF);  // start (3, 2), end (5, 2)
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
......
.##...
...rr.
)"));
  EXPECT_EQ(s.CurrentX(), 5);
  EXPECT_EQ(s.CurrentY(), 2);
}

TEST(SurfaceLineTest, DotStyleBreaksOnePixelLines) {
  Surface s = White(10, 1);
  s.SetDrawStyle(DrawStyle::Dot);
  s.Line(0, 0, 10, 0);
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
###...###.
)"));
  Surface t = White(4, 1);
  t.SetDrawStyle(DrawStyle::Transparent);
  t.Line(0, 0, 4, 0);
  EXPECT_EQ(ArtOf(t), PictureRows(R"(
....
)"));
}

struct BoxCase {
  const char* name;
  double x1, y1, x2, y2;
  bool fill;
  FillStyle style;
  std::string_view expected;
};

TEST(SurfaceBoxTest, OutlineFillAndFillStyle) {
  const std::vector<BoxCase> cases = {
      {"box covers both corners", 1, 1, 3, 3, false, FillStyle::Transparent,
       R"(
.....
.###.
.#.#.
.###.
.....
)"},
      {"corners given the other way round", 3, 3, 1, 1, false, FillStyle::Transparent,
       R"(
.....
.###.
.#.#.
.###.
.....
)"},
      {"B with a solid fill style takes the fill colour inside", 0, 0, 4, 3, false, FillStyle::Solid,
       R"(
#####
#rrr#
#rrr#
#####
.....
)"},
      {"BF fills with the line colour", 1, 1, 3, 2, true, FillStyle::Transparent,
       R"(
.....
.###.
.###.
.....
.....
)"},
      {"one row high", 0, 2, 4, 2, false, FillStyle::Transparent,
       R"(
.....
.....
#####
.....
.....
)"},
      {"clipped", -2, -2, 2, 2, false, FillStyle::Solid, R"(
rr#..
rr#..
###..
.....
.....
)"},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    Surface s = White(5, 5);
    s.SetFillColor(0x0000FF);
    s.SetFillStyle(c.style);
    s.Line(c.x1, c.y1, c.x2, c.y2, std::nullopt, true, c.fill);
    EXPECT_EQ(ArtOf(s), PictureRows(c.expected));
  }
}

TEST(SurfaceBoxTest, InsideSolidKeepsAWidePenWithinTheCorners) {
  Surface s = White(7, 7);
  s.SetDrawWidth(3);
  s.SetDrawStyle(DrawStyle::InsideSolid);
  s.Line(0, 0, 6, 6, std::nullopt, true);
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
#######
#######
#######
###.###
#######
#######
#######
)"));
  Surface centred = White(7, 7);
  centred.SetDrawWidth(3);
  centred.Line(1, 1, 5, 5, std::nullopt, true);
  EXPECT_EQ(ArtOf(centred), ArtOf(s));
}

TEST(SurfaceClipTest, HugeShapesCostOnlyWhatTheSurfaceShows) {
  Surface s = White(10, 6);
  s.Line(-1e9, 2, 1e9, 2);
  s.SetDrawWidth(5000);
  s.Line(-1e12, -1e12, 1e12, 1e12, 0x0000FF);  // held to the old platform's range
  EXPECT_EQ(s.Point(0, 0), 0x0000FF);
  EXPECT_EQ(s.Point(9, 5), 0x0000FF);
  Surface t = White(10, 6);
  t.SetFillColor(0x00FF00);
  t.SetFillStyle(FillStyle::Solid);
  t.Line(-1e9, -1e9, 1e9, 1e9, std::nullopt, true);  // the box's outline lies off the surface
  EXPECT_EQ(ArtOf(t), (Art(6, "gggggggggg")));
  EXPECT_TRUE(t.Circle(false, 5, 3, 1e7));
  t.SetFillColor(0x0000FF);
  EXPECT_TRUE(t.Circle(false, 5, 3, 1e7));  // clamped radius, filled inside
  EXPECT_EQ(ArtOf(t), (Art(6, "rrrrrrrrrr")));
  t.PaintPicture(ImageFromArt(R"(
bg
yc
)"),
                 0, 0, 1e12, 1e12);  // its top left pixel, stretched
  EXPECT_EQ(ArtOf(t), (Art(6, "bbbbbbbbbb")));
}

TEST(SurfaceClipTest, ADashedBoxKeepsItsPatternWhereItIsCut) {
  Surface whole = White(61, 41);
  whole.SetDrawStyle(DrawStyle::DashDot);
  whole.Line(0, 0, 60, 40, std::nullopt, true);
  Surface part = White(31, 31);
  part.SetDrawStyle(DrawStyle::DashDot);
  part.Line(-30, -10, 30, 30, std::nullopt, true);  // the same box, seen from (30, 10)
  for (int y = 0; y < 31; ++y) {
    for (int x = 0; x < 31; ++x)
      ASSERT_EQ(part.Point(x, y), whole.Point(x + 30, y + 10)) << x << "," << y;
  }
}

struct CircleCase {
  const char* name;
  double radius;
  std::optional<double> start, end, aspect;
  FillStyle style;
  std::string_view expected;
};

TEST(SurfaceCircleTest, OutlinesArcsAndFills) {
  constexpr double kHalfPi = std::numbers::pi / 2;
  const std::vector<CircleCase> cases = {
      {"radius 2 is 5 across",
       2,
       {},
       {},
       {},
       FillStyle::Transparent,
       R"(
.......
..###..
.#...#.
.#...#.
.#...#.
..###..
.......
)"},
      {"radius 0 is the centre",
       0,
       {},
       {},
       {},
       FillStyle::Transparent,
       R"(
.......
.......
.......
...#...
.......
.......
.......
)"},
      {"filled inside the outline",
       2,
       {},
       {},
       {},
       FillStyle::Solid,
       R"(
.......
..###..
.#rrr#.
.#rrr#.
.#rrr#.
..###..
.......
)"},
      {"aspect below 1 flattens",
       3,
       {},
       {},
       1.0 / 3.0,
       FillStyle::Transparent,
       R"(
.......
.......
.#####.
#.....#
.#####.
.......
.......
)"},
      {"aspect above 1 narrows",
       3,
       {},
       {},
       3.0,
       FillStyle::Transparent,
       R"(
...#...
..#.#..
..#.#..
..#.#..
..#.#..
..#.#..
...#...
)"},
      {"arc of the upper right quarter",
       2,
       0.0,
       kHalfPi,
       {},
       FillStyle::Solid,
       R"(
.......
...##..
.....#.
.....#.
.......
.......
.......
)"},
      {"pie of the upper left quarter, filled",
       2,
       -kHalfPi,
       -std::numbers::pi,
       {},
       FillStyle::Solid,
       R"(
.......
..##...
.#r#...
.###...
.......
.......
.......
)"},
  };
  for (const CircleCase& c : cases) {
    SCOPED_TRACE(c.name);
    Surface s = White(7, 7);
    s.SetFillColor(0x0000FF);
    s.SetFillStyle(c.style);
    EXPECT_TRUE(s.Circle(false, 3, 3, c.radius, std::nullopt, c.start, c.end, c.aspect));
    EXPECT_EQ(ArtOf(s), PictureRows(c.expected));
    EXPECT_EQ(s.CurrentX(), 3);
  }
}

TEST(SurfaceCircleTest, AngleOutOfRangeDrawsNothing) {
  Surface s = White(5, 5);
  EXPECT_FALSE(s.Circle(false, 2, 2, 2, std::nullopt, 7.0, 1.0));
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
.....
.....
.....
.....
.....
)"));
}

TEST(SurfaceDrawModeTest, EachModeCombinesPenAndDestination) {
  // Destination 0x0F33CC (as RGB), pen 0x55AA0F (as RGB); results as RGB.
  const std::uint32_t d = 0x0F33CC, p = 0x55AA0F, m = 0xFFFFFF;
  const std::vector<std::pair<DrawMode, std::uint32_t>> cases = {
      {DrawMode::Blackness, 0},
      {DrawMode::NotMergePen, ~(d | p) & m},
      {DrawMode::MaskNotPen, d & ~p & m},
      {DrawMode::NotCopyPen, ~p & m},
      {DrawMode::MaskPenNot, p & ~d & m},
      {DrawMode::Invert, ~d & m},
      {DrawMode::XorPen, d ^ p},
      {DrawMode::NotMaskPen, ~(d & p) & m},
      {DrawMode::MaskPen, d & p},
      {DrawMode::NotXorPen, ~(d ^ p) & m},
      {DrawMode::Nop, d},
      {DrawMode::MergeNotPen, (d | ~p) & m},
      {DrawMode::CopyPen, p},
      {DrawMode::MergePenNot, (p | ~d) & m},
      {DrawMode::MergePen, d | p},
      {DrawMode::Whiteness, m},
  };
  for (const auto& [mode, rgb] : cases) {
    Surface s(1, 1);
    s.SetBackColor(core::RgbToOle(d));
    s.SetDrawMode(mode);
    s.PSet(false, 0, 0, core::RgbToOle(p));
    EXPECT_EQ(static_cast<std::uint32_t>(s.Point(0, 0)), core::RgbToOle(rgb)) << static_cast<int>(mode);
  }
}

TEST(SurfaceDrawModeTest, XorAndInvertTouchEachPixelOncePerPrimitive) {
  Surface s = White(5, 5);
  s.SetDrawMode(DrawMode::XorPen);
  s.Line(0, 0, 4, 4, 0xFFFFFF, true);  // white XOR white: black, corners too
  const Art box = PictureRows(R"(
#####
#...#
#...#
#...#
#####
)");
  EXPECT_EQ(ArtOf(s), box);
  s.Line(0, 0, 4, 4, 0xFFFFFF, true);  // the same again gives the picture back
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
.....
.....
.....
.....
.....
)"));

  Surface t = FromArt(R"(
#.r
b.#
)");
  t.SetDrawMode(DrawMode::Invert);
  t.SetDrawWidth(2);
  t.PSet(false, 0, 0);  // a 2 x 2 pen
  EXPECT_EQ(ArtOf(t), PictureRows(R"(
.#r
y##
)"));
  t.SetDrawWidth(1);
  t.Circle(false, 1, 1, 1);  // a diamond; the centre stays
  EXPECT_EQ(ArtOf(t), PictureRows(R"(
..r
b#.
)"));
}

TEST(SurfaceFloodFillTest, SurfaceKindFillsOneColourFourConnected) {
  Surface s = FromArt(R"(
..#..
..#..
###.#
...#.
)");
  s.SetFillColor(0x0000FF);
  s.SetFillStyle(FillStyle::Solid);
  EXPECT_TRUE(s.FloodFill(0, 0, 0xFFFFFF, FloodFillType::Surface));
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
rr#..
rr#..
###.#
...#.
)"));
  // The diagonal gap at (3, 2)-(4, 3) does not let the fill through.
  const Art bothFilled = PictureRows(R"(
rr#rr
rr#rr
###r#
...#.
)");
  EXPECT_TRUE(s.FloodFill(3, 0, 0xFFFFFF, FloodFillType::Surface));
  EXPECT_EQ(ArtOf(s), bothFilled);
  // A start pixel of another colour fills nothing.
  EXPECT_FALSE(s.FloodFill(2, 0, 0xFFFFFF, FloodFillType::Surface));
  EXPECT_FALSE(s.FloodFill(9, 0, 0xFFFFFF, FloodFillType::Surface));
  EXPECT_EQ(ArtOf(s), bothFilled);
}

TEST(SurfaceFloodFillTest, BorderKindCrossesOtherColoursUpToTheBorder) {
  Surface s = FromArt(R"(
######
#.g..#
#.b#.#
######
......
)");
  s.SetFillColor(0x00FFFF);
  s.SetFillStyle(FillStyle::Solid);
  EXPECT_TRUE(s.FloodFill(1, 1, 0x000000, FloodFillType::Border));
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
######
#yyyy#
#yy#y#
######
......
)"));
  EXPECT_FALSE(s.FloodFill(0, 0, 0x000000, FloodFillType::Border));
}

TEST(SurfaceFloodFillTest, HatchedFillLeavesGapsAndLargeAreasNeedNoRecursion) {
  Surface s = White(2000, 1500);
  s.SetFillColor(0x000000);
  s.SetFillStyle(FillStyle::VerticalLine);
  // A serpentine wall makes one long winding region.
  for (int x = 8; x < 2000; x += 16) s.Line(x, 0, x, 1490);
  for (int x = 16; x < 2000; x += 16) s.Line(x, 10, x, 1500);
  s.SetForeColor(0x0000FF);
  EXPECT_TRUE(s.FloodFill(1, 1, 0xFFFFFF, FloodFillType::Surface));
  EXPECT_EQ(s.Point(0, 700), 0x000000);  // column 0 lies on the hatch
  EXPECT_EQ(s.Point(1, 700), 0xFFFFFF);  // the gaps keep the surface
  EXPECT_EQ(s.Point(1992, 1499), 0x000000);
}

struct PaintCase {
  const char* name;
  double x1, y1;
  std::optional<double> w1, h1, x2, y2, w2, h2;
  std::uint32_t opcode;
  std::string_view expected;
};

TEST(SurfacePaintPictureTest, ClipsStretchesAndMirrors) {
  const QImage pic = ImageFromArt(R"(
rg
by
)");
  const std::vector<PaintCase> cases = {
      {"plain copy", 1, 1, {}, {}, {}, {}, {}, {}, kSrcCopy, R"(
....
.rg.
.by.
....
)"},
      {"off the top left edge",
       -1,
       -1,
       {},
       {},
       {},
       {},
       {},
       {},
       kSrcCopy,
       R"(
y...
....
....
....
)"},
      {"off the bottom right edge",
       3,
       3,
       {},
       {},
       {},
       {},
       {},
       {},
       kSrcCopy,
       R"(
....
....
....
...r
)"},
      {"stretched to 4 x 4", 0, 0, 4, 4, {}, {}, {}, {}, kSrcCopy, R"(
rrgg
rrgg
bbyy
bbyy
)"},
      {"mirrored by a negative width",
       2,
       0,
       -2,
       {},
       {},
       {},
       {},
       {},
       kSrcCopy,
       R"(
gr..
yb..
....
....
)"},
      {"source part beyond the picture leaves the surface", 0, 0, 3, 1, 1, 0, 3, 1, kSrcCopy,
       R"(
g...
....
....
....
)"},
      {"source AND destination",
       0,
       0,
       {},
       {},
       {},
       {},
       {},
       {},
       kSrcAnd,
       R"(
rg..
by..
....
....
)"},
      {"source XOR destination",
       0,
       0,
       {},
       {},
       {},
       {},
       {},
       {},
       kSrcInvert,
       R"(
cm..
yb..
....
....
)"},
  };
  for (const PaintCase& c : cases) {
    SCOPED_TRACE(c.name);
    Surface s = White(4, 4);
    s.PaintPicture(pic, c.x1, c.y1, c.w1, c.h1, c.x2, c.y2, c.w2, c.h2, c.opcode);
    EXPECT_EQ(ArtOf(s), PictureRows(c.expected));
  }
}

TEST(SurfacePictureTest, ClsKeepsThePictureAndCommitKeepsTheDrawing) {
  Surface s = FromArt(R"(
r..
...
)");
  EXPECT_EQ(s.Width(), 3);
  s.PSet(false, 2, 1);
  s.SetCurrentX(2);
  s.Cls();
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
r..
...
)"));
  EXPECT_EQ(s.CurrentX(), 0);
  s.PSet(false, 2, 1);
  s.CommitImage();
  s.Cls();
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
r..
..#
)"));
  // A new background colour clears the drawing; the picture lies over it.
  Surface t = White(3, 1);
  t.PSet(false, 0, 0);
  t.SetBackColor(0x00FF00);
  EXPECT_EQ(ArtOf(t), PictureRows(R"(
ggg
)"));
}

TEST(SurfacePictureTest, ResizingKeepsTheDrawingAndPlainMemoryRoundTrips) {
  Surface s = White(2, 2);
  s.PSet(false, 1, 1);
  s.SetSize(3, 2);
  EXPECT_EQ(ArtOf(s), PictureRows(R"(
...
.#.
)"));
  const core::RgbImage rgb = s.ToRgbImage();
  EXPECT_EQ(rgb.at(1, 1), 0xff000000u);
  EXPECT_EQ(rgb.at(2, 0), 0xffffffffu);
  Surface t(1, 1);
  t.FromRgbImage(rgb);
  EXPECT_EQ(ArtOf(t), ArtOf(s));
}

TEST(SurfacePointTest, OutsideIsMinusOneAndPSetSteps) {
  Surface s = White(3, 3);
  EXPECT_EQ(s.Point(-1, 0), -1);
  EXPECT_EQ(s.Point(3, 0), -1);
  EXPECT_EQ(s.Point(0, 3), -1);
  s.SetCurrentX(1);
  s.SetCurrentY(1);
  s.PSet(true, 1, 0, 0x0000FF);
  EXPECT_EQ(s.Point(2, 1), 0x0000FF);
  EXPECT_EQ(s.CurrentX(), 2);
}

TEST(SurfaceColorTest, SystemColoursResolveWhenPainted) {
  using core::SystemColor;
  Surface s(2, 1);
  core::SystemColorTable table;
  table.Set(SystemColor::kButtonFace, 0x102030);
  s.SetSystemColorResolver(&table);
  s.Cls();  // the default background is the button face
  EXPECT_EQ(static_cast<std::uint32_t>(s.Point(0, 0)), core::RgbToOle(0x102030));
  table.Set(SystemColor::kButtonFace, 0x405060);
  s.PSet(false, 1, 0, core::SystemColorValue(SystemColor::kButtonFace));
  EXPECT_EQ(static_cast<std::uint32_t>(s.Point(1, 0)), core::RgbToOle(0x405060));
  EXPECT_EQ(static_cast<std::uint32_t>(s.Point(0, 0)), core::RgbToOle(0x102030));
  // What the table does not know paints black; the palette knows the button face.
  s.PSet(false, 1, 0, core::SystemColorValue(SystemColor::kHotLight));
  EXPECT_EQ(s.Point(1, 0), 0);
  EXPECT_EQ(OleToQRgb(0x0000FF), 0xffff0000u);  // red sits in the low byte
  EXPECT_EQ(ResolveColor(core::kSystemColorFlag | 99), 0xff000000u);
  EXPECT_EQ(ResolveColor(core::SystemColorValue(SystemColor::kButtonFace)),
            QGuiApplication::palette().color(QPalette::Button).rgb() | 0xff000000u);
}

TEST(SurfaceTextTest, PrintMovesToTheNextLineInTheForeColour) {
  Surface s = White(120, 60);
  const int h = s.TextHeight("");
  ASSERT_GT(h, 0);
  EXPECT_EQ(s.TextHeight("a\r\nb"), 2 * h);
  EXPECT_GT(s.TextWidth("WWW"), s.TextWidth("W"));
  EXPECT_EQ(s.TextWidth("WW\nW"), s.TextWidth("WW"));
  s.SetCurrentX(5);
  s.SetForeColor(0x0000FF);
  s.Print("HH");
  EXPECT_EQ(s.CurrentX(), 0);
  EXPECT_EQ(s.CurrentY(), h);
  int red = 0, other = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const std::int32_t c = s.Point(x, y);
      if (c == 0x0000FF) {
        ++red;
        EXPECT_GE(x, 5);
        EXPECT_LT(y, h);
      } else if (c != 0xFFFFFF) {
        ++other;
      }
    }
  }
  EXPECT_GT(red, 0);
  EXPECT_EQ(other, 0);  // no smoothing, no background box
}

}  // namespace
}  // namespace morvane::gui
