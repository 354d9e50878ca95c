#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/currency.h"

namespace morvane::common {

// The 16 bits of value read as unsigned: -1 gives 65535.
constexpr std::int32_t WordToUnsigned(std::int16_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint16_t>(value));
}

// The logarithm of x to base (0 means 10). 0 when x <= 0, and when the base has no
// logarithm (1 or below 0, which the old platform stopped on).
double LogBase(double x, double base = 0);

// 1 for true, 0 for false: how truth values are stored in settings files.
constexpr std::int16_t BoolToInt(bool flag) { return flag ? 1 : 0; }

// The smaller (MinOf) or larger (MaxOf) of the two, rounded to a whole number halves
// to even (MaxOf(2.5, 1) is 2), held within the 32-bit range.
std::int32_t MinOf(Currency a, Currency b);
std::int32_t MaxOf(Currency a, Currency b);

// low <= value <= high, bounds included; with the bounds the wrong way round, the
// range between them counts too unless orderedOnly is set.
template <typename T>
constexpr bool InRange(const T& value, const T& low, const T& high, bool orderedOnly = false) {
  if (low <= high) return low <= value && value <= high;
  if (orderedOnly) return false;
  return high <= value && value <= low;
}

// The time between two millisecond tick counts as hours, minutes and seconds
// ("00:01:05"); an empty separator means ":". A later count below the earlier one
// means the old 32-bit tick counter wrapped between the two readings.
std::string FormatDuration(std::int64_t later, std::int64_t earlier, std::string_view separator = ":");

// Whole seconds as h, m and s with at least two digits each (3725 gives 01:02:05; a
// hundred hours give 100:00:00). Negative seconds count as 0.
std::string SecondsToClock(std::int64_t seconds, std::string_view separator = ":");

// The bytes from index first (default 0), count of them (default: to the end), as text,
// stopping at the first NUL unless keepNul. Text is UTF-8 here; bytes that are not
// valid UTF-8 are read as Windows-1252. Throws std::out_of_range when first or count
// reach outside the bytes.
std::string ByteArrayToString(std::span<const std::uint8_t> bytes,
                              std::optional<std::size_t> first = std::nullopt,
                              std::optional<std::size_t> count = std::nullopt, bool keepNul = false);

}  // namespace morvane::common
