#include "common/line_helpers.h"

#include <gtest/gtest.h>

#include <limits>

namespace morvane::common {
namespace {

TEST(LineThroughPointsTest, GivesTheLineInTheRightForm) {
  struct Case {
    const char* what;
    ContourPoint p1, p2;
    bool yOverX;
    float a, b;
  };
  const Case cases[] = {
      {"rising", {0, 0}, {4, 2}, true, 0.5f, 0.0f},
      {"offset", {1, 3}, {3, 7}, true, 2.0f, 1.0f},
      {"horizontal", {2, 5}, {9, 5}, true, 0.0f, 5.0f},
      {"vertical gives x over y", {3, 1}, {3, 9}, false, 0.0f, 3.0f},
      {"vertical through negative x", {-4, 1}, {-4, 2}, false, 0.0f, -4.0f},
      // 32-bit products of these would overflow.
      {"far points", {100000, 100000}, {200000, 300000}, true, 2.0f, -100000.0f},
  };
  for (const Case& c : cases) {
    float a = 99, b = 99;
    EXPECT_EQ(LineThroughPoints(c.p1, c.p2, a, b), c.yOverX) << c.what;
    EXPECT_FLOAT_EQ(a, c.a) << c.what;
    EXPECT_FLOAT_EQ(b, c.b) << c.what;
  }
}

TEST(LineThroughPointsTest, CoincidentPointsLeaveTheCoefficients) {
  float a = 7, b = 8;
  EXPECT_FALSE(LineThroughPoints({2, 2}, {2, 2}, a, b));
  EXPECT_EQ(a, 7);
  EXPECT_EQ(b, 8);
}

TEST(LineThroughPointsTest, ExtremeCoordinatesStayFinite) {
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  float a = 0, b = 0;
  EXPECT_TRUE(LineThroughPoints({kMin, kMax}, {kMax, kMin}, a, b));
  EXPECT_FLOAT_EQ(a, -1.0f);
  EXPECT_FLOAT_EQ(b, -1.0f);
}

TEST(LineValueAtTest, AddsAHalfAndRoundsHalfToEven) {
  struct Case {
    std::int32_t x;
    float a, b;
    std::int32_t expected;
  };
  const Case cases[] = {
      {4, 0.5f, 0.0f, 2},    // 2.5 goes to 2
      {6, 0.5f, 0.0f, 4},    // 3.5 goes to 4
      {5, 0.5f, 0.0f, 3},    // 3.0
      {3, 1.0f, 0.0f, 4},    // a whole odd value moves up
      {2, 1.0f, 0.0f, 2},    // a whole even value stays
      {1, 0.3f, 0.0f, 1},    // 0.8
      {-3, 1.0f, 0.0f, -2},  // -2.5 goes to -2
      {2000000000, 4.0f, 0.0f, std::numeric_limits<std::int32_t>::max()},
      {2000000000, -4.0f, 0.0f, std::numeric_limits<std::int32_t>::min()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineValueAt(c.x, c.a, c.b), c.expected) << c.x << " " << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace morvane::common
