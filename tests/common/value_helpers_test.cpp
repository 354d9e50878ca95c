#include "common/value_helpers.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace morvane::common {
namespace {

constexpr std::int64_t kMax = INT64_MAX;

TEST(CurrencyTest, ParsesTheLeadingNumberOfAText) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> scaled;
  };
  const Case cases[] = {
      {"15", 150000},
      {"-3", -30000},
      {"82.2667", 822667},
      {"82.26666", 822667},  // four decimals, rounded
      {"  12abc", 120000},   // leading blanks and trailing text
      {"1 2 3", 1230000},    // blanks between digits
      {"-05", -50000},
      {"+7", 70000},
      {".5", 5000},
      {"0.5", 5000},
      {"-.5", -5000},
      {"1e3", 10000000},
      {"2.5E-1", 2500},
      {"1.5D2", 1500000},
      {"1.5e", 15000},  // an exponent without digits is ignored
      {"&H10", 160000},
      {"&hFFFF", -10000},  // 16-bit when it fits 16 bits
      {"&H8000", -327680000},
      {"&H18000", 983040000},
      {"&HFFFFFFFF", -10000},
      {"&O17", 150000},
      {"0.00005", 0},  // exactly half: to even
      {"0.00015", 2},
      {"0.00025", 2},
      {"0.000250001", 3},
      {"-0.00015", -2},
      {"922337203685477.5807", kMax},
      {"-922337203685477.5808", INT64_MIN},
      {"0e99999", 0},
      {"000000000000000000000001", 10000},
      {"922337203685477.5808", std::nullopt},  // out of range
      {"922337203685477.58075", std::nullopt},
      {"1e20", std::nullopt},
      {"&H100000000", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"&H", std::nullopt},
      {"&X1", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto value = Currency::Parse(c.text);
    EXPECT_EQ(value ? std::optional(value->scaled()) : std::nullopt, c.scaled) << "[" << c.text << "]";
  }
}

TEST(CurrencyTest, WritesPlainDecimalTextThatReadsBack) {
  const std::pair<std::int64_t, const char*> cases[] = {{150000, "15"},
                                                        {-30000, "-3"},
                                                        {822667, "82.2667"},
                                                        {5000, "0.5"},
                                                        {-5000, "-0.5"},
                                                        {0, "0"},
                                                        {12500, "1.25"},
                                                        {1, "0.0001"},
                                                        {kMax, "922337203685477.5807"},
                                                        {INT64_MIN, "-922337203685477.5808"}};
  for (const auto& [scaled, text] : cases) {
    EXPECT_EQ(Currency::FromScaled(scaled).ToText(), text);
    EXPECT_EQ(Currency::Parse(text), Currency::FromScaled(scaled)) << text;
  }
}

TEST(CurrencyTest, ConvertsFromDoubleAndToWholeNumbers) {
  EXPECT_EQ(Currency::FromDouble(82.26666), Currency::FromScaled(822667));
  EXPECT_EQ(Currency::FromDouble(-1.5), Currency::FromScaled(-15000));
  EXPECT_EQ(Currency::FromDouble(std::nan("")), std::nullopt);
  EXPECT_EQ(Currency::FromDouble(1e300), std::nullopt);
  const std::pair<std::int64_t, std::int32_t> rounding[] = {
      {25000, 2}, {35000, 4}, {-25000, -2},      {-25001, -3},          {24999, 2},
      {5000, 0},  {15000, 2}, {kMax, INT32_MAX}, {INT64_MIN, INT32_MIN}};
  for (const auto& [scaled, whole] : rounding) {
    EXPECT_EQ(Currency::FromScaled(scaled).ToInt32(), whole) << scaled;
  }
}

TEST(ValueHelpersTest, SmallNumberHelpers) {
  EXPECT_EQ(WordToUnsigned(-1), 65535);
  EXPECT_EQ(WordToUnsigned(-32768), 32768);
  EXPECT_EQ(WordToUnsigned(5), 5);
  EXPECT_DOUBLE_EQ(LogBase(100), 2);
  EXPECT_DOUBLE_EQ(LogBase(8, 2), 3);
  for (const auto& [x, base] :
       std::vector<std::pair<double, double>>{{0, 10}, {-5, 10}, {8, 1}, {8, -2}}) {
    EXPECT_EQ(LogBase(x, base), 0) << x << " base " << base;
  }
  EXPECT_EQ(BoolToInt(true), 1);
  EXPECT_EQ(BoolToInt(false), 0);
  EXPECT_EQ(MinOf(2, 7), 2);
  EXPECT_EQ(MaxOf(*Currency::FromDouble(2.5), 1), 2);  // 2.5 rounds to even
  EXPECT_EQ(MaxOf(*Currency::FromDouble(3.5), 1), 4);
  EXPECT_EQ(MinOf(4, 4), 4);
  EXPECT_EQ(MaxOf(Currency::FromScaled(kMax), 0), INT32_MAX) << "held in range, not stopped";
}

TEST(ValueHelpersTest, InRangeIncludesTheBounds) {
  struct Case {
    int value, low, high;
    bool orderedOnly, expected;
  };
  const Case cases[] = {{5, 1, 10, false, true},  {5, 10, 1, false, true}, {5, 10, 1, true, false},
                        {10, 1, 10, false, true}, {1, 1, 10, true, true},  {11, 1, 10, false, false},
                        {0, 10, 1, false, false}, {3, 3, 3, true, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(InRange(c.value, c.low, c.high, c.orderedOnly), c.expected)
        << c.value << " in " << c.low << ".." << c.high;
  }
  EXPECT_TRUE(InRange(2.5, 2.0, 3.0));
}

TEST(ValueHelpersTest, ElapsedTimeText) {
  struct Case {
    std::int64_t later, earlier;
    const char* separator;
    const char* text;
  };
  const Case cases[] = {
      {65000, 0, ":", "00:01:05"},
      {1999, 1000, ":", "00:00:00"},         // 999 ms
      {3725000 + 500, 500, "", "01:02:05"},  // empty separator means ":"
      {360000000, 0, ":", "100:00:00"},
      {5000, 0, ".", "00.00.05"},
      // The old 32-bit counter wrapped between the two readings: still 16 s.
      {INT32_MIN + 5000, INT32_MAX - 10999, ":", "00:00:16"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDuration(c.later, c.earlier, c.separator), c.text);
  EXPECT_EQ(SecondsToClock(3725), "01:02:05");
  EXPECT_EQ(SecondsToClock(-4), "00:00:00");
}

TEST(ValueHelpersTest, BytesToText) {
  const std::vector<std::uint8_t> bytes = {65, 66, 0, 67};
  EXPECT_EQ(ByteArrayToString(bytes), "AB");
  EXPECT_EQ(ByteArrayToString(bytes, std::nullopt, std::nullopt, true), std::string("AB\0C", 4));
  EXPECT_EQ(ByteArrayToString(bytes, 3), "C");
  EXPECT_EQ(ByteArrayToString(bytes, 0, 1), "A");
  EXPECT_EQ(ByteArrayToString(bytes, 4), "");
  EXPECT_EQ(ByteArrayToString(std::vector<std::uint8_t>{0x63, 0xE9}), "c\xC3\xA9");  // Windows-1252
  EXPECT_EQ(ByteArrayToString(std::vector<std::uint8_t>{0x63, 0xC3, 0xA9}), "c\xC3\xA9");
  EXPECT_THROW(ByteArrayToString(bytes, 5), std::out_of_range);
  EXPECT_THROW(ByteArrayToString(bytes, 2, 3), std::out_of_range);
}

}  // namespace
}  // namespace morvane::common
