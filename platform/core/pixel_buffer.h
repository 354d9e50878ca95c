#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/large_pages.h"

namespace morvane::core {

// n copies of fill. A picture is read across and down its rows, and traced along
// its figures' edges from row to row: its room is asked for in large pages before the
// first write, which spares both the page faults and the misses in the page tables.
template <typename T>
std::vector<T> FilledBuffer(std::size_t n, T fill) {
  std::vector<T> buffer;
  buffer.reserve(n);
  AskForLargePages(buffer);
  buffer.assign(n, fill);
  return buffer;
}

// A true-colour picture as plain memory: row-major, top row first, one 32-bit word per
// pixel laid out as 0xffRRGGBB (the layout of QImage::Format_RGB32, so a host copies
// rows straight in and out). Sizes are 32-bit; offsets are computed in 64 bits.
struct RgbImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;

  RgbImage() = default;
  RgbImage(std::int32_t w, std::int32_t h, std::uint32_t fill = 0xffffffffu)
      : width(w), height(h), pixels(FilledBuffer(Area(w, h), fill)) {}

  bool empty() const { return width <= 0 || height <= 0; }
  std::uint32_t at(std::int32_t x, std::int32_t y) const { return pixels[Offset(x, y)]; }
  std::uint32_t& at(std::int32_t x, std::int32_t y) { return pixels[Offset(x, y)]; }

  static std::size_t Area(std::int32_t w, std::int32_t h) {
    return w > 0 && h > 0 ? static_cast<std::size_t>(w) * static_cast<std::size_t>(h) : 0;
  }

 private:
  std::size_t Offset(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }
};

// A black-and-white picture, one byte per pixel: kMaskWhite where the background
// colour was, kMaskBlack elsewhere.
inline constexpr std::uint8_t kMaskBlack = 0;
inline constexpr std::uint8_t kMaskWhite = 255;

struct Mask {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> bits;

  Mask() = default;
  Mask(std::int32_t w, std::int32_t h, std::uint8_t fill = kMaskWhite)
      : width(w), height(h), bits(FilledBuffer(RgbImage::Area(w, h), fill)) {}

  bool empty() const { return width <= 0 || height <= 0; }
  bool contains(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width && y < height;
  }
  std::uint8_t at(std::int32_t x, std::int32_t y) const { return bits[Offset(x, y)]; }
  std::uint8_t& at(std::int32_t x, std::int32_t y) { return bits[Offset(x, y)]; }

 private:
  std::size_t Offset(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }
};

}  // namespace morvane::core
