#include "common/picture_recolor.h"

#include <gtest/gtest.h>

#include "platform/core/palette.h"

namespace morvane::common {
namespace {

using core::Mask;
using core::RgbImage;

TEST(ColorToRGBTextTest, SplitsHighByteFirstAndRefusesOutOfRange) {
  std::uint8_t a = 7, b = 7, c = 7;
  EXPECT_EQ(ColorToRGBText(255, a, b, c), "0,0,255");
  EXPECT_EQ(std::make_tuple(a, b, c), std::make_tuple(0, 0, 255));
  EXPECT_EQ(ColorToRGBText(16777215, a, b, c), "255,255,255");
  a = b = c = 9;
  EXPECT_EQ(ColorToRGBText(16777216, a, b, c), "");
  EXPECT_EQ(ColorToRGBText(static_cast<std::int32_t>(0x8000000Fu), a, b, c), "");
  EXPECT_EQ(std::make_tuple(a, b, c), std::make_tuple(9, 9, 9));
}

TEST(NearestVgaIndexTest, PicksNearestAndBreaksTiesLow) {
  EXPECT_EQ(core::NearestVgaIndex(0xFFFFFF), 15);
  EXPECT_EQ(core::NearestVgaIndex(0xF0F0F0), 15);
  EXPECT_EQ(core::NearestVgaIndex(0x202020), 0);
  // 0x400000 lies exactly between black (0) and maroon (1): the lower index wins.
  EXPECT_EQ(core::NearestVgaIndex(0x400000), 0);
}

// Pixels: white, near-white, maroon, light beige (off palette, maps to silver C0C0C0).
RgbImage FourPixels() {
  RgbImage image(4, 1);
  image.pixels = {0xffFFFFFF, 0xffF4F4F4, 0xff800000, 0xffC8C4BC};
  return image;
}

std::vector<std::uint8_t> MaskOf(const RgbImage& image, std::int32_t colour) {
  Mask mask;
  RecolorPicture(image, colour, mask);
  return mask.bits;
}

TEST(RecolorPictureTest, KeyAndPixelsMeetInThePalette) {
  const RgbImage image = FourPixels();
  struct Case {
    const char* what;
    std::int32_t colour;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {"palette white also takes the near-white pixel", 0xFFFFFF, {255, 255, 0, 0}},
      {"palette maroon", 0x800000, {0, 0, 255, 0}},
      {"an off-palette background picked from the picture", 0xC8C4BC, {0, 0, 0, 255}},
      {"a system colour compares as black", static_cast<std::int32_t>(0x8000000Fu), {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MaskOf(image, c.colour), c.expected) << c.what;
  }
}

TEST(RecolorPictureTest, DrawsOnlyWhatFitsAndKeepsTheRestOfTheTarget) {
  const RgbImage image = FourPixels();
  RgbImage small(2, 1, 0xff123456);
  RecolorPicture(image, 0xFFFFFF, small);
  EXPECT_EQ(small.pixels, (std::vector<std::uint32_t>{0xffffffff, 0xffffffff}));

  RgbImage large(5, 2, 0xff123456);
  RecolorPicture(image, 0x800000, large);
  EXPECT_EQ(large.pixels,
            (std::vector<std::uint32_t>{0xff000000, 0xff000000, 0xffffffff, 0xff000000, 0xff123456,
                                        0xff123456, 0xff123456, 0xff123456, 0xff123456, 0xff123456}));

  RgbImage empty;
  RecolorPicture(empty, 0xFFFFFF, large);  // nothing to read: target untouched
  EXPECT_EQ(large.pixels[0], 0xff000000u);
}

TEST(RecolorPictureTest, TellsWhetherEveryKeyPixelIsExactlyTheColour) {
  // The trace may read a pixel's exactness off the mask only when no pixel that turned
  // white is merely near the colour.
  const RgbImage four = FourPixels();
  RgbImage plain(3, 2, 0xffFFFFFF);
  plain.at(1, 1) = 0xff000000;
  struct Case {
    const char* what;
    const RgbImage* image;
    std::int32_t colour;
    bool exact;
  };
  const Case cases[] = {
      {"white with a near-white pixel", &four, 0xFFFFFF, false},
      {"maroon, met exactly", &four, 0x800000, true},
      {"a colour no pixel is near", &four, 0x0000FF, true},
      {"white and black only", &plain, 0xFFFFFF, true},
  };
  for (const Case& c : cases) {
    Mask mask;
    bool exact = !c.exact;
    RecolorPicture(*c.image, c.colour, mask, nullptr, {}, &exact);
    EXPECT_EQ(exact, c.exact) << c.what;
  }
}

}  // namespace
}  // namespace morvane::common
