#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::common {

// A fixed-point number with four decimals in 64 bits, the type the settings store
// keeps its numbers in (range about ±922337203685477.5807).
class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;
  // Whole numbers convert without loss.
  constexpr Currency(std::int32_t whole) : scaled_(whole * kScale) {}  // NOLINT: implicit on purpose

  static constexpr Currency FromScaled(std::int64_t scaled) {
    Currency c;
    c.scaled_ = scaled;
    return c;
  }
  // Rounded to four decimals, halves to even; nothing for NaN or a value out of range.
  static std::optional<Currency> FromDouble(double value);

  // The number that the text begins with, read as the old platform's leading-number
  // parse reads it: leading blanks skipped, blanks between digits skipped, an optional
  // sign, "." as the decimal point in every locale, an optional exponent (E or D),
  // "&H" and "&O" for hexadecimal and octal (as 16-bit signed when the value fits 16
  // bits, else as 32-bit signed). The rest of the text is ignored ("12abc" is 12).
  // Nothing when the text does not begin with a number or the number is out of range;
  // digits beyond the fourth decimal are rounded half to even.
  static std::optional<Currency> Parse(std::string_view text);

  constexpr std::int64_t scaled() const { return scaled_; }
  double ToDouble() const { return static_cast<double>(scaled_) / kScale; }

  // Rounded to the nearest whole number, halves to even, and held within the 32-bit
  // range.
  std::int32_t ToInt32() const;

  // Plain decimal text: "-" when negative, the digits, and "." with the fraction's
  // digits (no trailing zeros) only when there is a fraction: 15, -3, 82.2667, 0.5.
  std::string ToText() const;

  friend constexpr auto operator<=>(Currency, Currency) = default;
  friend constexpr bool operator==(Currency, Currency) = default;

 private:
  std::int64_t scaled_ = 0;
};

}  // namespace morvane::common
