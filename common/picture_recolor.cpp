#include "common/picture_recolor.h"

#include <algorithm>

#include "platform/core/palette.h"

namespace morvane::common {

std::string ColorToRGBText(std::int32_t colour, std::uint8_t& first, std::uint8_t& second,
                           std::uint8_t& third) {
  if (colour < 0 || colour >= 0x1000000) {
    return {};
  }
  const auto value = static_cast<std::uint32_t>(colour);
  first = static_cast<std::uint8_t>(value >> 16);
  second = static_cast<std::uint8_t>(value >> 8);
  third = static_cast<std::uint8_t>(value);
  return std::to_string(first) + "," + std::to_string(second) + "," + std::to_string(third);
}

namespace {

int KeyIndex(std::int32_t colour) {
  std::uint8_t first = 0;
  std::uint8_t second = 0;
  std::uint8_t third = 0;
  ColorToRGBText(colour, first, second, third);
  const std::uint32_t key = (std::uint32_t{first} << 16) | (std::uint32_t{second} << 8) | third;
  return core::NearestVgaIndex(key);
}

// Calls put(x, y, isKey) for every pixel of the w x h top-left block of source.
template <typename Put>
void ClassifyPixels(const core::RgbImage& source, std::int32_t colour, std::int32_t w,
                    std::int32_t h, Put put) {
  const int key = KeyIndex(colour);
  core::VgaConverter converter;
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      put(x, y, converter.IndexOf(source.at(x, y)) == key);
    }
  }
}

}  // namespace

void RecolorPicture(const core::RgbImage& source, std::int32_t colour, core::RgbImage& target) {
  if (source.empty() || target.empty()) {
    return;
  }
  const std::int32_t w = std::min(source.width, target.width);
  const std::int32_t h = std::min(source.height, target.height);
  ClassifyPixels(source, colour, w, h, [&target](std::int32_t x, std::int32_t y, bool isKey) {
    target.at(x, y) = isKey ? 0xffffffffu : 0xff000000u;
  });
}

void RecolorPicture(const core::RgbImage& source, std::int32_t colour, core::Mask& target) {
  target = core::Mask(source.width, source.height, core::kMaskBlack);
  if (source.empty()) {
    return;
  }
  ClassifyPixels(source, colour, source.width, source.height,
                 [&target](std::int32_t x, std::int32_t y, bool isKey) {
                   target.at(x, y) = isKey ? core::kMaskWhite : core::kMaskBlack;
                 });
}

}  // namespace morvane::common
