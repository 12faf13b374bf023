// Scaled arithmetic: rounding to nearest with halves away from zero, 64-bit intermediate.
#include "widgets/MulDiv.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace {

struct MulDivCase {
  std::int32_t a, b, c, expected;
};

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  const MulDivCase cases[] = {
      {6, 4, 3, 8},           // exact
      {1, 433, 255, 2},       // 1.698 up
      {1, 1, 3, 0},           // 0.333 down
      {2, 1, 3, 1},           // 0.667 up
      {-2, 1, 3, -1},         // -0.667 to -1
      {-1, 1, 3, 0},          // -0.333 to 0
      {1, 1, 2, 1},           // 0.5 away from zero
      {5, 1, 2, 3},           // 2.5 to 3, not to the even 2
      {3, 1, 2, 2},           // 1.5 to 2
      {-1, 1, 2, -1},         // -0.5 away from zero
      {1, -5, 2, -3},         // -2.5 to -3
      {1, 1, -2, -1},         // negative divisor
      {-1, -1, 2, 1},         // two negative factors
      {-7, 3, -2, 11},        // 10.5, all signs negative but the result
      {127, 61, 254, 31},     // 30.5: a colour step of the header banner
      {0, 12345, -7, 0},      // zero product
      {254, 433, 255, 431},   // 431.30
      {-255, 254, 254, -255}, // the largest negative colour step
  };
  for (const auto& c : cases)
    EXPECT_EQ(widgets::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(MulDiv, KeepsTheFullProductBeforeDividing) {
  const MulDivCase cases[] = {
      {65536, 65536, 65536, 65536}, // 2^32 in the middle
      {2000000000, 2000000000, 2000000000, 2000000000},
      {2147483647, 2147483647, 2147483647, 2147483647},
      {-2147483647, 2147483647, 2147483647, -2147483647},
      {2000000000, 3, 4, 1500000000},
      {1000000000, 1000000000, 3, -1}, // result beyond 32 bits
      {2000000000, 2, 1, -1},
      {-2000000000, 2, 1, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(widgets::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(MulDiv, DivisionByZeroGivesMinusOne) {
  EXPECT_EQ(widgets::MulDiv(5, 7, 0), -1);
  EXPECT_EQ(widgets::MulDiv(0, 0, 0), -1);
}

} // namespace
