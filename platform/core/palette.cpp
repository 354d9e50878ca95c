#include "platform/core/palette.h"

namespace morvane::core {

int NearestVgaIndex(std::uint32_t rgb) {
  const int r = static_cast<int>((rgb >> 16) & 0xff);
  const int g = static_cast<int>((rgb >> 8) & 0xff);
  const int b = static_cast<int>(rgb & 0xff);
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < static_cast<int>(kVgaPalette.size()); ++i) {
    const std::uint32_t c = kVgaPalette[static_cast<std::size_t>(i)];
    const int dr = r - static_cast<int>((c >> 16) & 0xff);
    const int dg = g - static_cast<int>((c >> 8) & 0xff);
    const int db = b - static_cast<int>(c & 0xff);
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

VgaConverter::VgaConverter() {
  // An entry that no masked colour can equal, so the first lookup of every slot misses.
  cache_.fill(Entry{0xffffffffu, 0});
}

}  // namespace morvane::core
