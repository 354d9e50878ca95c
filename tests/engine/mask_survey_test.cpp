#include "engine/mask_survey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/pixel_buffer.h"
#include "tests/support/picture_rows.h"

namespace morvane::engine {
namespace {

using Art = std::vector<std::string>;

// A mask from art ('#' black, anything else white), surveyed row by row as a run
// writes it; the result as art again: '#' black, 'o' outer, '.' white left (holes).
struct Surveyed {
  Art mask;
  std::vector<ContourPoint> starts;
};

Surveyed Survey(const Art& art) {
  const auto h = static_cast<std::int32_t>(art.size());
  const auto w = static_cast<std::int32_t>(art.front().size());
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  MaskSurvey survey;
  survey.Begin(w, h);
  for (std::int32_t y = 0; y < h; ++y) {
    std::uint8_t* row = bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
    for (std::int32_t x = 0; x < w; ++x) {
      row[x] = art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? core::kMaskBlack
                                                                                    : core::kMaskWhite;
    }
    const auto black = std::count(art[static_cast<std::size_t>(y)].begin(),
                                  art[static_cast<std::size_t>(y)].end(), '#');
    EXPECT_EQ(survey.AddRow(row, y), black) << "row " << y;
  }
  survey.Finish(bits.data());
  Surveyed out{Art(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '?')),
               survey.Starts()};
  for (std::size_t k = 0; k < bits.size(); ++k) {
    const char c = bits[k] == core::kMaskBlack ? '#' : bits[k] == kMaskOuter ? 'o' : '.';
    out.mask[k / static_cast<std::size_t>(w)][k % static_cast<std::size_t>(w)] = c;
  }
  return out;
}

// The expected art: '#' stays, 'o' must come out outer, '.' must stay white.
Art Source(const Art& expected) {
  Art source = expected;
  for (std::string& row : source) {
    for (char& c : row) c = c == '#' ? '#' : '.';
  }
  return source;
}

struct Case {
  const char* name;
  std::string_view expected;
  std::vector<ContourPoint> starts;
};

TEST(MaskSurveyTest, MarksOuterBackgroundAndFindsEachFigureOnceInRasterOrder) {
  const std::vector<Case> cases = {
      {"RingKeepsItsHole",
       R"(
oooooo
o####o
o#..#o
o####o
oooooo
)",
       {{1, 1}}},
      // Background under a cave is not outer when its row is read; it is at the end.
      {"CaveOpenBelowJoinsLater",
       R"(
ooooooo
o#####o
o#ooo#o
o#o#o#o
ooo#ooo
ooooooo
)",
       {{1, 1}, {3, 3}}},
      // Touching only at a corner is one figure; its top-left run starts it, though a
      // lower figure's run comes first in its own row.
      {"DiagonalTouchIsOneFigure",
       R"(
#ooo
o#oo
oo#o
#ooo
)",
       {{0, 0}, {0, 3}}},
      // A figure whose top-left pixel lies right of another figure's top.
      {"StartsFollowFirstPixels",
       R"(
oooo#o
o#oo#o
o#o##o
o###oo
oooooo
)",
       {{4, 0}}},
      {"HoleInHoleFigure",
       R"(
ooooooooo
o#######o
o#.....#o
o#.###.#o
o#.#.#.#o
o#.###.#o
o#.....#o
o#######o
ooooooooo
)",
       {{1, 1}, {3, 3}}},
      {"AllBlack",
       R"(
###
###
)",
       {{0, 0}}},
      {"AllWhite",
       R"(
ooo
ooo
)",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Art expected = morvane::testing::PictureRows(c.expected);
    const Surveyed got = Survey(Source(expected));
    EXPECT_EQ(got.mask, expected);
    EXPECT_EQ(got.starts, c.starts);
  }
}

TEST(MaskSurveyTest, RunsAcrossWordBoundariesJoinAsOne) {
  // Rows of 63, 64, 65 and 130 pixels: a hole and a figure that straddle bit 63/64, and
  // runs that reach the row's end.
  for (const int w : {63, 64, 65, 130}) {
    Art expected(5, std::string(static_cast<std::size_t>(w), 'o'));
    const int left = w / 2 - 3, right = w - 2;  // the ring spans the middle word boundary
    for (int x = left; x <= right; ++x) {
      expected[1][static_cast<std::size_t>(x)] = '#';
      expected[3][static_cast<std::size_t>(x)] = '#';
    }
    expected[2][static_cast<std::size_t>(left)] = '#';
    expected[2][static_cast<std::size_t>(right)] = '#';
    for (int x = left + 1; x < right; ++x) expected[2][static_cast<std::size_t>(x)] = '.';
    const Surveyed got = Survey(Source(expected));
    EXPECT_EQ(got.mask, expected) << "width " << w;
    EXPECT_EQ(got.starts, (std::vector<ContourPoint>{{left, 1}})) << "width " << w;
  }
}

}  // namespace
}  // namespace morvane::engine
