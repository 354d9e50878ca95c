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

}  // namespace
}  // namespace morvane::app
