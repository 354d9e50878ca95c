#include "app/contour_painter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/picture_rows.h"

namespace morvane::app {
namespace {

using engine::ContourPoint;
using morvane::testing::PictureRows;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kLine = 0xFFFF0000u;
constexpr std::uint32_t kMark = 0xFF00FF00u;

// The picture as text: '.' white, '#' line, 'o' mark.
std::vector<std::string> Art(const core::RgbImage& picture) {
  std::vector<std::string> rows;
  for (int y = 0; y < picture.height; ++y) {
    std::string row;
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t c = picture.at(x, y);
      row += c == kWhite ? '.' : c == kLine ? '#' : c == kMark ? 'o' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// Contours at the edges of a 7 x 6 picture and beyond, drawn over, with and without
// marks.
struct DrawingRow {
  const char* what;
  engine::ContourPoints points;
  std::optional<std::uint32_t> marks;
};
const std::vector<DrawingRow>& DrawingRows() {
  static const std::vector<DrawingRow> rows = {
      {"two contours, one past the edge",
       {{0, 0}, {1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, -1}, {6, 1}, {9, 1}, {6, 4}},
       std::nullopt},
      {"with marks", {{0, 0}, {1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, -1}, {6, 1}, {9, 1}, {6, 4}}, kMark},
      {"one contour twice over", {{0, 0}, {1, 1}, {5, 3}, {1, 4}, {0, -1}, {1, 1}, {5, 3}, {1, 4}}, kMark},
      {"a diagonal contour partly above the picture", {{0, 0}, {-3, 0}, {6, 5}, {2, 5}, {7, 0}}, kMark},
      {"far outside the picture", {{0, 0}, {-100000, 3}, {100000, 3}, {0, 100000}}, std::nullopt},
      {"fewer than three elements", {{0, 0}, {1, 1}, {2, 2}}, kMark},
  };
  return rows;
}

TEST(DrawContoursTest, ClosedOutlinesAndMarksOfEveryContour) {
  // A square, a separator, a triangle reaching past the right edge.
  const engine::ContourPoints points = {{0, 0},  {1, 1}, {4, 1}, {4, 4}, {1, 4},
                                        {1, -1}, {6, 1}, {9, 1}, {6, 4}};
  core::RgbImage picture(8, 6, kWhite);
  DrawContours(picture, points, kLine, std::nullopt);
  EXPECT_EQ(Art(picture), PictureRows(R"(
........
.####.##
.#..#.#.
.#..#.##
.####.#.
........
)"));
  core::RgbImage marked(8, 6, kWhite);
  DrawContours(marked, points, kLine, kMark);
  EXPECT_EQ(Art(marked), PictureRows(R"(
........
.o##o.o#
.#..#.#.
.#..#.##
.o##o.o.
........
)"));
}

TEST(DrawContoursTest, FewerThanThreeElementsDrawNothing) {
  core::RgbImage picture(4, 4, kWhite);
  DrawContours(picture, {{0, 0}, {1, 1}, {2, 2}}, kLine, kMark);
  EXPECT_EQ(Art(picture), (std::vector<std::string>(4, "....")));
}

// The window draws onto a picture for the view: the same pixels as on a plain buffer,
// whatever its rows' padding.
TEST(DrawContoursTest, APictureGetsThePixelsOfThePlainBuffer) {
  for (const DrawingRow& row : DrawingRows()) {
    SCOPED_TRACE(row.what);
    core::RgbImage plain(7, 6, kWhite);
    DrawContours(plain, row.points, kLine, row.marks);
    // Rows of 7 pixels padded to 32 bytes.
    std::vector<uchar> memory(32 * 6);
    QImage picture(memory.data(), 7, 6, 32, QImage::Format_RGB32);
    picture.fill(kWhite);
    DrawContours(picture, row.points, kLine, row.marks);
    core::RgbImage drawn(7, 6);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 7; ++x) drawn.at(x, y) = picture.pixel(x, y);
    }
    EXPECT_EQ(Art(drawn), Art(plain));
  }
  QImage other(4, 4, QImage::Format_ARGB32);
  other.fill(kWhite);
  DrawContours(other, {{0, 0}, {0, 0}, {3, 3}, {0, 3}}, kLine, kMark);
  EXPECT_EQ(other.pixel(0, 0), kWhite);
}

// Drawn on the picture itself, the contours take the pixels a copy would, and the record
// gives every pixel back, however often it was drawn over; it never holds more pixels
// than the count the window weighs it by.
TEST(DrawnOverTest, UndoGivesTheDrawnPictureBack) {
  core::RgbImage original(7, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 7; ++x) original.at(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x * 40 + y * 7);
  }
  original.at(4, 1) = kLine;  // a pixel that has the line's colour already
  for (const DrawingRow& row : DrawingRows()) {
    SCOPED_TRACE(row.what);
    core::RgbImage copy = original;
    DrawContours(copy, row.points, kLine, row.marks);
    core::RgbImage picture = original;
    DrawnOver under;
    DrawContours(picture, row.points, kLine, row.marks, under);
    EXPECT_EQ(picture.pixels, copy.pixels);
    EXPECT_LE(static_cast<std::int64_t>(under.Size()), CountContourPixels(row.points, row.marks.has_value()));
    // A second drawing adds to the record; undone, both go.
    DrawContours(picture, {{0, 0}, {0, 0}, {6, 5}, {0, 5}}, kMark, std::nullopt, under);
    under.Undo(picture);
    EXPECT_TRUE(under.Empty());
    EXPECT_EQ(picture.pixels, original.pixels);
  }
}

}  // namespace
}  // namespace morvane::app
