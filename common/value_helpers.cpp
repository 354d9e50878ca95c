#include "common/value_helpers.h"

#include <cmath>
#include <stdexcept>

#include "platform/core/text_codec.h"

namespace morvane::common {

double LogBase(double x, double base) {
  if (base == 0) base = 10;
  if (x <= 0 || base < 0 || base == 1) return 0;
  return std::log(x) / std::log(base);
}

std::int32_t MinOf(Currency a, Currency b) { return (a < b ? a : b).ToInt32(); }

std::int32_t MaxOf(Currency a, Currency b) { return (a > b ? a : b).ToInt32(); }

std::string FormatDuration(std::int64_t later, std::int64_t earlier, std::string_view separator) {
  std::int64_t elapsed = later - earlier;
  if (elapsed < 0) elapsed += std::int64_t{1} << 32;
  if (elapsed < 0) elapsed = 0;
  return SecondsToClock(elapsed / 1000, separator);
}

std::string SecondsToClock(std::int64_t seconds, std::string_view separator) {
  if (separator.empty()) separator = ":";
  if (seconds < 0) seconds = 0;
  const std::int64_t h = seconds / 3600;
  const std::int64_t m = (seconds - 3600 * h) / 60;
  const std::int64_t s = seconds - 3600 * h - 60 * m;
  auto two = [](std::int64_t n) {
    std::string t = std::to_string(n);
    return t.size() < 2 ? "0" + t : t;
  };
  return two(h) + std::string(separator) + two(m) + std::string(separator) + two(s);
}

std::string ByteArrayToString(std::span<const std::uint8_t> bytes, std::optional<std::size_t> first,
                              std::optional<std::size_t> count, bool keepNul) {
  const std::size_t from = first.value_or(0);
  if (from > bytes.size()) throw std::out_of_range("ByteArrayToString: first index outside the bytes");
  const std::size_t n = count.value_or(bytes.size() - from);
  if (n > bytes.size() - from)
    throw std::out_of_range("ByteArrayToString: count reaches past the bytes");
  std::string raw;
  raw.reserve(n);
  for (std::size_t i = from; i < from + n; ++i) {
    if (bytes[i] == 0 && !keepNul) break;
    raw.push_back(static_cast<char>(bytes[i]));
  }
  return core::DecodeText(raw);
}

}  // namespace morvane::common
