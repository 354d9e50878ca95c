#pragma once

#include <random>

#include "platform/core/pixel_buffer.h"

namespace morvane::bench {

// Discs and rings of radius 3 to 20 px, about 10 000 on 4096 x 4096 and as dense on
// smaller images.
inline core::RgbImage DiscsAndRings(int size) {
  constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
  constexpr std::uint32_t kBlack = 0xFF000000u;
  core::RgbImage image(size, size, kWhite);
  std::mt19937 rng(1234);
  const int count = static_cast<int>(10000.0 * size / 4096.0 * size / 4096.0);
  std::uniform_int_distribution<int> radius(3, 20), centre(20, size - 21), kind(0, 2);
  for (int n = 0; n < count; ++n) {
    const int r = radius(rng), cx = centre(rng), cy = centre(rng);
    const int hole = kind(rng) == 0 ? r / 2 : -1;
    for (int y = cy - r; y <= cy + r; ++y) {
      for (int x = cx - r; x <= cx + r; ++x) {
        const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d <= r * r) image.at(x, y) = d <= hole * hole ? kWhite : kBlack;
      }
    }
  }
  return image;
}

}  // namespace morvane::bench
