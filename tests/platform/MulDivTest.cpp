#include "platform/MulDiv.h"

#include <gtest/gtest.h>

namespace corvane {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(230, 100, 1000), 23);
  EXPECT_EQ(MulDiv(-40, 100, 1000), -4);
  EXPECT_EQ(MulDiv(2, 100, 3), 67);
  EXPECT_EQ(MulDiv(-2, 100, 3), -67);
  EXPECT_EQ(MulDiv(5, 3, -2), -8);
}

TEST(MulDiv, UsesA64BitIntermediate) {
  EXPECT_EQ(MulDiv(2000000000, 100, 2100000000), 95);
  EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
}

TEST(MulDiv, AnswersMinusOneForZeroDivisorOrOverflow) {
  EXPECT_EQ(MulDiv(5, 100, 0), -1);
  EXPECT_EQ(MulDiv(INT32_MAX, 4, 2), -1);
}

}  // namespace corvane
