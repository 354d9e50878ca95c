#pragma once

#include <array>
#include <cstdint>

namespace morvane::core {

// The standard 16 VGA colours as 0x00RRGGBB, in the order of a 16-colour DIB's table.
inline constexpr std::array<std::uint32_t, 16> kVgaPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Index of the palette colour nearest to rgb (0x..RRGGBB; the top byte is ignored)
// by squared RGB distance; ties go to the lower index.
int NearestVgaIndex(std::uint32_t rgb);

// Maps many pixels to palette indices. Real pictures hold few distinct colours, so
// a small direct-mapped cache in front of the 16 distance tests makes a pixel cost a
// lookup. One converter per pass; not shared between threads.
class VgaConverter {
 public:
  VgaConverter();
  int IndexOf(std::uint32_t rgb) {
    rgb &= 0xffffffu;
    const std::uint32_t slot = (rgb * 2654435761u) >> (32 - kCacheBits);
    Entry& e = cache_[slot];
    if (e.rgb != rgb) {
      e.rgb = rgb;
      e.index = static_cast<std::uint8_t>(NearestVgaIndex(rgb));
    }
    return e.index;
  }

 private:
  static constexpr int kCacheBits = 12;
  struct Entry {
    std::uint32_t rgb;
    std::uint8_t index;
  };
  std::array<Entry, std::size_t{1} << kCacheBits> cache_;
};

}  // namespace morvane::core
