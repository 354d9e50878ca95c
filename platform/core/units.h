#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace morvane::core {

// Lengths on forms are twips; Qt's logical pixels are 96 per inch, so a pixel is 15
// twips on both axes, always.
inline constexpr std::int32_t kTwipsPerPixel = 15;

// v rounded to the nearest whole number, halves to the even neighbour (2.5 gives 2,
// 3.5 gives 4, -2.5 gives -2), whatever the floating-point rounding mode.
inline double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double f = std::floor(v);
  const double diff = v - f;
  if (diff < 0.5) return f;
  if (diff > 0.5) return f + 1.0;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// Rounded half to even and held within the 32-bit range (NaN gives 0): where the old
// platform stopped with an overflow, we go on with the nearest value that fits.
inline std::int32_t RoundToInt32(double v) {
  if (std::isnan(v)) return 0;
  const double r = RoundHalfEven(v);
  if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(r);
}

// Whether v, rounded half to even, is a 32-bit number, so RoundToInt32 keeps it as it
// is (NaN and the infinities are not).
inline bool FitsInt32(double v) {
  const double r = RoundHalfEven(v);
  return r >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
         r <= static_cast<double>(std::numeric_limits<std::int32_t>::max());
}

inline constexpr std::int64_t PixelsToTwips(std::int64_t pixels) { return pixels * kTwipsPerPixel; }

// Twips to whole pixels, rounded half to even.
inline std::int32_t TwipsToPixels(double twips) { return RoundToInt32(twips / kTwipsPerPixel); }

// The pixel under a position in twips: the position rounded to whole twips (held
// within the 32-bit range), then divided as whole numbers.
inline std::int32_t PixelUnderTwips(double twips) { return RoundToInt32(twips) / kTwipsPerPixel; }

}  // namespace morvane::core
