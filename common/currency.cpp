#include "common/currency.h"

#include <cmath>
#include <limits>

#include "platform/core/units.h"

namespace morvane::common {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

constexpr std::uint64_t kMaxMagnitude =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

std::optional<Currency> ParseRadix(std::string_view s, std::size_t i, int radix) {
  std::uint64_t value = 0;
  bool any = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsBlank(c)) continue;
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (radix == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (radix == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0 || d >= radix) break;
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
    any = true;
  }
  if (!any) return std::nullopt;
  // The old platform read these as 16-bit values when they fit 16 bits, else as
  // 32-bit ones: "&HFFFF" is -1, "&H10" is 16.
  const std::int64_t n =
      value <= 0xFFFF ? static_cast<std::int16_t>(value) : static_cast<std::int32_t>(value);
  return Currency::FromScaled(n * Currency::kScale);
}

}  // namespace

std::optional<Currency> Currency::FromDouble(double value) {
  if (std::isnan(value)) return std::nullopt;
  const double scaled = core::RoundHalfEven(value * kScale);
  // 2^63 is exactly representable; anything at or past it does not fit.
  if (!(scaled < 9223372036854775808.0 && scaled >= -9223372036854775808.0)) return std::nullopt;
  return FromScaled(static_cast<std::int64_t>(scaled));
}

std::optional<Currency> Currency::Parse(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i + 1 < s.size() && s[i] == '&') {
    const char kind = s[i + 1];
    if (kind == 'h' || kind == 'H') return ParseRadix(s, i + 2, 16);
    if (kind == 'o' || kind == 'O') return ParseRadix(s, i + 2, 8);
    return std::nullopt;
  }
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    negative = s[i] == '-';
    ++i;
  }
  // The digits as one decimal string with the position of the point, so that the
  // number is exact however many digits it has.
  std::string digits;
  long long pointAt = -1;
  bool any = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsBlank(c)) continue;
    if (c >= '0' && c <= '9') {
      any = true;
      if (!(digits.empty() && c == '0' && pointAt < 0)) digits += c;
    } else if (c == '.' && pointAt < 0) {
      pointAt = static_cast<long long>(digits.size());
    } else {
      break;
    }
  }
  if (!any) return std::nullopt;
  if (pointAt < 0) pointAt = static_cast<long long>(digits.size());
  long long exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    while (j < s.size() && IsBlank(s[j])) ++j;
    bool expNegative = false;
    if (j < s.size() && (s[j] == '-' || s[j] == '+')) {
      expNegative = s[j] == '-';
      ++j;
    }
    bool expAny = false;
    for (; j < s.size(); ++j) {
      if (IsBlank(s[j])) continue;
      if (s[j] < '0' || s[j] > '9') break;
      expAny = true;
      if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
    }
    if (expAny) exponent = expNegative ? -exponent : exponent;
    else exponent = 0;
  }
  if (digits.find_first_not_of('0') == std::string::npos) return Currency();
  pointAt += exponent;
  auto digit = [&](long long k) {
    return k >= 0 && k < static_cast<long long>(digits.size())
               ? static_cast<std::uint64_t>(digits[static_cast<std::size_t>(k)] - '0')
               : std::uint64_t{0};
  };
  // Digits up to the fourth decimal make the scaled value; the next one and whether any
  // other follows decide the rounding.
  const long long cut = pointAt + 4;
  if (cut > 30) return std::nullopt;
  const std::uint64_t limit = kMaxMagnitude + (negative ? 1 : 0);
  std::uint64_t scaled = 0;
  for (long long k = 0; k < cut; ++k) {
    const std::uint64_t d = digit(k);
    if (scaled > (limit - d) / 10) return std::nullopt;
    scaled = scaled * 10 + d;
  }
  const std::uint64_t next = digit(cut);
  bool sticky = false;
  for (long long k = cut < 0 ? 0 : cut + 1; k < static_cast<long long>(digits.size()); ++k) {
    sticky = sticky || digit(k) != 0;
  }
  if (next > 5 || (next == 5 && (sticky || scaled % 2 == 1))) {
    if (scaled == limit) return std::nullopt;
    ++scaled;
  }
  return FromScaled(negative ? static_cast<std::int64_t>(0 - scaled)
                             : static_cast<std::int64_t>(scaled));
}

std::int32_t Currency::ToInt32() const {
  std::int64_t whole = scaled_ / kScale;
  const std::int64_t rest = scaled_ % kScale;  // same sign as scaled_
  if (rest > kScale / 2 || (rest == kScale / 2 && whole % 2 != 0)) ++whole;
  if (rest < -kScale / 2 || (rest == -kScale / 2 && whole % 2 != 0)) --whole;
  if (whole > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (whole < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(whole);
}

std::string Currency::ToText() const {
  const bool negative = scaled_ < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled_) : static_cast<std::uint64_t>(scaled_);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / kScale);
  std::uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + kScale).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text;
}

}  // namespace morvane::common
