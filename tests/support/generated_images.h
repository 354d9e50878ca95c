#pragma once

// The generated images the benchmarks trace, one function per family. The tests trace
// small ones of each family too, so they are deterministic: their own random draws from
// mt19937's raw numbers, which every standard library gives alike.

#include <algorithm>
#include <cstdint>
#include <random>

#include "platform/core/pixel_buffer.h"

namespace morvane::testing {

inline constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr std::uint32_t kBlack = 0xFF000000u;

// A number in [lo, hi] from the generator's raw output.
inline int Draw(std::mt19937& rng, int lo, int hi) {
  return lo + static_cast<int>(rng() % static_cast<std::uint32_t>(hi - lo + 1));
}

// Discs and rings of radius 3 to 20 px, about 10 000 on 4096 x 4096 and as dense on
// other sizes.
inline core::RgbImage DiscsAndRings(int size) {
  core::RgbImage image(size, size, kWhite);
  std::mt19937 rng(1234);
  const int count = static_cast<int>(10000.0 * size / 4096.0 * size / 4096.0);
  for (int n = 0; n < count; ++n) {
    const int r = Draw(rng, 3, 20), cx = Draw(rng, 20, size - 21), cy = Draw(rng, 20, size - 21);
    const int hole = Draw(rng, 0, 2) == 0 ? r / 2 : -1;
    for (int y = cy - r; y <= cy + r; ++y) {
      for (int x = cx - r; x <= cx + r; ++x) {
        const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d <= r * r) image.at(x, y) = d <= hole * hole ? kWhite : kBlack;
      }
    }
  }
  return image;
}

// One figure shaped like a comb: teeth `tooth` pixels wide with gaps as wide hanging
// from a spine, so that its boundary is very long.
inline core::RgbImage Comb(int width, int height, int teeth, int tooth) {
  core::RgbImage image(width, height, kWhite);
  const int right = std::min(width - 4, 4 + 2 * tooth * teeth);
  for (int x = 4; x < right; ++x) {
    for (int y = 4; y < 8; ++y) image.at(x, y) = kBlack;
  }
  for (int t = 0; t < teeth; ++t) {
    const int x0 = 4 + 2 * tooth * t;
    for (int y = 8; y < height - 4; ++y) {
      for (int x = x0; x < x0 + tooth && x < width - 4; ++x) image.at(x, y) = kBlack;
    }
  }
  return image;
}

// Each pixel black with the given chance in percent.
inline core::RgbImage Noise(int size, int percent) {
  core::RgbImage image(size, size, kWhite);
  std::mt19937 rng(99);
  for (auto& px : image.pixels) px = Draw(rng, 0, 99) < percent ? kBlack : kWhite;
  return image;
}

// Black and white pixels alternating in both directions: every black pixel touches
// others only at its corners.
inline core::RgbImage Checkerboard(int size) {
  core::RgbImage image(size, size, kWhite);
  for (int y = 0; y < size; ++y) {
    for (int x = (y & 1); x < size; x += 2) image.at(x, y) = kBlack;
  }
  return image;
}

// Squares of 10 x 10 pixels, one every 16 pixels in both directions: many figures in a
// regular grid, (size / 16)^2 of them.
inline core::RgbImage SquareGrid(int size) {
  core::RgbImage image(size, size, kWhite);
  for (int top = 3; top + 10 <= size; top += 16) {
    for (int left = 3; left + 10 <= size; left += 16) {
      for (int y = top; y < top + 10; ++y)
        for (int x = left; x < left + 10; ++x) image.at(x, y) = kBlack;
    }
  }
  return image;
}

// One disc as large as the image allows: a single long, smooth boundary.
inline core::RgbImage HugeDisc(int size) {
  core::RgbImage image(size, size, kWhite);
  const std::int64_t c = size / 2, r = size / 2 - 2;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((x - c) * (x - c) + (y - c) * (y - c) <= r * r) image.at(x, y) = kBlack;
    }
  }
  return image;
}

// A square spiral of a 2-pixel line with 2-pixel gaps winding in to the centre: one
// figure whose boundary runs about as long as the image has pixels over two.
inline core::RgbImage Spiral(int size) {
  core::RgbImage image(size, size, kWhite);
  const auto bar = [&image](int x0, int y0, int x1, int y1) {  // inclusive corners
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
      for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) image.at(x, y) = kBlack;
  };
  int left = 2, top = 2, right = size - 3, bottom = size - 3;
  while (right - left >= 4 && bottom - top >= 4) {
    bar(left, top, right, top + 1);         // along the top
    bar(right - 1, top, right, bottom);     // down the right
    bar(left, bottom - 1, right, bottom);   // along the bottom
    bar(left, top + 4, left + 1, bottom);   // up the left, stopping short of the top
    bar(left, top + 4, left + 5, top + 5);  // and in to the next turn
    left += 4;
    top += 4;
    right -= 4;
    bottom -= 4;
  }
  return image;
}

}  // namespace morvane::testing
