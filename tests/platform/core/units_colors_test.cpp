#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/core/colors.h"
#include "platform/core/units.h"

namespace morvane::core {
namespace {

TEST(UnitsTest, RoundingGoesHalfToEven) {
  const std::pair<double, double> cases[] = {{2.5, 2},  {3.5, 4}, {-2.5, -2},        {-3.5, -4},
                                             {0.5, 0},  {1.5, 2}, {2.4999, 2},       {2.5001, 3},
                                             {-0.5, 0}, {7, 7},   {1e15 + 0.5, 1e15}};
  for (const auto& [in, out] : cases) EXPECT_EQ(RoundHalfEven(in), out) << in;
  EXPECT_EQ(RoundToInt32(3e10), INT32_MAX);
  EXPECT_EQ(RoundToInt32(-3e10), INT32_MIN);
  EXPECT_EQ(RoundToInt32(std::nan("")), 0);
}

TEST(UnitsTest, PixelUnderTwips) {
  EXPECT_EQ(PixelUnderTwips(29.4), 1);
  EXPECT_EQ(PixelUnderTwips(29.6), 2);
  EXPECT_EQ(PixelUnderTwips(14.5), 0);  // 14
  EXPECT_EQ(PixelUnderTwips(1e12), 2147483647 / 15);
}

TEST(UnitsTest, RoundingToInt32SaturatesAndFitsSaysWhenItMust) {
  struct Row {
    const char* name;
    double in;
    std::int32_t rounded;
    bool fits;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Row rows[] = {
      {"largest", 2147483647.0, INT32_MAX, true},
      {"rounds down to the largest", 2147483647.4, INT32_MAX, true},
      {"half past the largest rounds up and out", 2147483647.5, INT32_MAX, false},
      {"smallest", -2147483648.0, INT32_MIN, true},
      {"half below the smallest rounds to it (even)", -2147483648.5, INT32_MIN, true},
      {"one below the smallest", -2147483649.0, INT32_MIN, false},
      {"plus infinity", inf, INT32_MAX, false},
      {"minus infinity", -inf, INT32_MIN, false},
      {"not a number", std::nan(""), 0, false},
      {"a half in range", -2.5, -2, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(RoundToInt32(row.in), row.rounded);
    EXPECT_EQ(FitsInt32(row.in), row.fits);
  }
}

TEST(UnitsTest, FifteenTwipsToAPixel) {
  EXPECT_EQ(PixelsToTwips(4), 60);
  EXPECT_EQ(PixelsToTwips(1LL << 31), (1LL << 31) * 15) << "sizes past 32 bits do not overflow";
  EXPECT_EQ(TwipsToPixels(60), 4);
  EXPECT_EQ(TwipsToPixels(37.5), 2);  // 2.5 pixels
  EXPECT_EQ(TwipsToPixels(52.5), 4);  // 3.5 pixels
  EXPECT_EQ(TwipsToPixels(-22.5), -2);
}

TEST(ColorsTest, PlainColoursSwapBytesAndSystemColoursGoThroughTheResolver) {
  SystemColorTable table;
  table.Set(SystemColor::kButtonFace, 0xF0F0F0);
  table.Set(SystemColor::kHighlight, 0x3399FF);
  struct Case {
    OleColor colour;
    std::optional<std::uint32_t> rgb;
  };
  const Case cases[] = {
      {0x000000FF, 0xFF0000},  // red is the low byte
      {0x00FF0000, 0x0000FF},
      {0x00123456, 0x563412},
      {SystemColorValue(SystemColor::kButtonFace), 0xF0F0F0},
      {0x8000000D, 0x3399FF},
      {0x80000008, std::nullopt},  // not filled in
      {0x80000040, std::nullopt},  // no such role
      {0x80010005, std::nullopt},  // stray bits beside the flag
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveColor(c.colour, table), c.rgb) << std::hex << c.colour;
  EXPECT_TRUE(IsSystemColor(0x8000000F));
  EXPECT_FALSE(IsSystemColor(0x00FFFFFF));
  EXPECT_EQ(RgbToOle(0xFF8000), 0x0080FFu);
}

}  // namespace
}  // namespace morvane::core
