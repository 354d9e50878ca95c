#include "common/picture_recolor.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/core/large_pages.h"
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
void ClassifyPixels(const core::RgbImage& source, std::int32_t colour, std::int32_t w, std::int32_t h,
                    Put put) {
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

void RecolorPicture(const core::RgbImage& source, std::int32_t colour, core::Mask& target,
                    std::vector<std::int32_t>* blackPerRow,
                    const std::function<void(std::int32_t)>& rowWritten, bool* keyIsExact) {
  // The target's memory is reused when it is large enough: every byte is written
  // below, and fresh pages cost more than the recolouring. When it is not, it goes
  // first, so that the new one can take its place.
  const std::size_t area = core::RgbImage::Area(source.width, source.height);
  if (target.bits.capacity() < area) {
    target = core::Mask();
    target.bits.reserve(area);
    core::AskForLargePages(target.bits);
  }
  target.width = source.empty() ? 0 : source.width;
  target.height = source.empty() ? 0 : source.height;
  target.bits.resize(area);
  if (blackPerRow != nullptr) {
    blackPerRow->assign(static_cast<std::size_t>(target.height), 0);
  }
  if (keyIsExact != nullptr) {
    *keyIsExact = true;
  }
  if (source.empty()) {
    return;
  }
  const int key = KeyIndex(colour);
  core::VgaConverter converter;
  // One pass over the whole picture through local pointers (the byte stores could
  // alias anything the compiler would otherwise reload). Most pictures have long
  // stretches of two colours, a figure's and the background's: the last two colours
  // met are kept with their bytes, sixteen pixels that are all one of them are settled
  // by a loop the compiler vectorises, and only the others go through the converter.
  const std::uint32_t* in = source.pixels.data();
  std::uint8_t* out = target.bits.data();
  // Every colour met goes through here once at least.
  bool exact = true;
  const auto byteOf = [&converter, key, colour, &exact](std::uint32_t rgb) {
    const bool white = converter.IndexOf(rgb) == key;
    exact = exact && (!white || rgb == static_cast<std::uint32_t>(colour));
    return white ? core::kMaskWhite : core::kMaskBlack;
  };
  std::uint32_t colourA = in[0] & 0xFFFFFFu, colourB = colourA;
  std::uint8_t byteA = byteOf(colourA), byteB = byteA;
  const auto classify = [&](std::size_t k) {
    const std::uint32_t rgb = in[k] & 0xFFFFFFu;
    if (rgb != colourA) {
      if (rgb == colourB) {
        std::swap(colourA, colourB);
        std::swap(byteA, byteB);
      } else {
        colourB = colourA;
        byteB = byteA;
        colourA = rgb;
        byteA = byteOf(rgb);
      }
    }
    out[k] = byteA;
  };
  constexpr std::size_t kChunk = 16;
  const auto w = static_cast<std::size_t>(source.width);
  // Row by row, so that a row's black pixels are counted while it is still in the cache.
  for (std::size_t y = 0; y < static_cast<std::size_t>(source.height); ++y) {
    const std::size_t rowEnd = (y + 1) * w;
    std::size_t k = y * w;
    for (; k + kChunk <= rowEnd; k += kChunk) {
      std::uint8_t bytes[kChunk];
      std::uint32_t unknown = 0;
      for (std::size_t i = 0; i < kChunk; ++i) {
        const std::uint32_t rgb = in[k + i] & 0xFFFFFFu;
        const bool isA = rgb == colourA;
        bytes[i] = isA ? byteA : byteB;
        unknown |= static_cast<std::uint32_t>(!isA && rgb != colourB);
      }
      if (unknown == 0) {
        std::memcpy(out + k, bytes, kChunk);
      } else {
        for (std::size_t i = 0; i < kChunk; ++i) {
          classify(k + i);
        }
      }
    }
    for (; k < rowEnd; ++k) {
      classify(k);
    }
    if (blackPerRow != nullptr) {
      const std::uint8_t* row = out + y * w;
      std::int32_t white = 0;
      for (std::size_t x = 0; x < w; ++x) {
        white += row[x] == core::kMaskWhite ? 1 : 0;
      }
      (*blackPerRow)[y] = static_cast<std::int32_t>(w) - white;
    }
    if (rowWritten) {
      rowWritten(static_cast<std::int32_t>(y));
    }
  }
  if (keyIsExact != nullptr) {
    *keyIsExact = exact;
  }
}

}  // namespace morvane::common
