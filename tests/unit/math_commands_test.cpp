// Math in degrees and the integer remainder and box tests.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/runtime.h"

TEST(Math, AnglesAreDegreesWithTheRoundedConstant)
{
    EXPECT_NEAR(rtSin(90), 1, 1e-12);
    EXPECT_NEAR(rtCos(180), -1, 1e-12);
    EXPECT_NEAR(rtTan(45), 1, 1e-8);
    EXPECT_NEAR(rtAtan2(1, 1), 45, 1e-7);
    EXPECT_NEAR(rtAtan2(0, -1), 180 * (57.2957795 / 57.29577951308232), 1e-12);
    // The rounded constant is used, not the exact 180/pi.
    EXPECT_EQ(rtAsin(0.5), std::asin(0.5) * 57.2957795);
}

TEST(Math, InverseFunctionsClampOutsideTheirRange)
{
    EXPECT_EQ(rtAsin(2), 90);
    EXPECT_EQ(rtAsin(-1), -90);
    EXPECT_EQ(rtAcos(1), 0);
    EXPECT_EQ(rtAcos(-7), 180);
    EXPECT_NEAR(rtAcos(0), 90, 1e-6);
}

TEST(Math, RootAbsoluteAndPower)
{
    EXPECT_EQ(rtSqrt(16), 4);
    EXPECT_TRUE(std::isnan(rtSqrt(-1)));
    EXPECT_EQ(rtAbs(-2.5), 2.5);
    EXPECT_EQ(rtAbs(3), 3);
    EXPECT_EQ(rtPow(2, 10), 1024);
}

TEST(Math, RemainderOfTruncatedIntegers)
{
    EXPECT_EQ(rtRemainder(7.9, 2.5), 1);
    EXPECT_EQ(rtRemainder(-7, 3), -1);
    EXPECT_EQ(rtRemainder(7, -3), 1);
    EXPECT_EQ(rtRemainder(7, 0), 0);
    EXPECT_EQ(rtRemainder(7, 0.5), 0);            // a divisor truncating to 0
    EXPECT_EQ(rtRemainder(-2147483648.0, -1), 0); // would overflow as a division
    EXPECT_EQ(rtRemainder(std::nan(""), 3), 0);
}

TEST(Math, BoxesOverlapIncludingTouchingEdgesAndNegativeSizes)
{
    EXPECT_EQ(rtBoxesOverlap(0, 0, 10, 10, 5, 5, 10, 10), 1);
    EXPECT_EQ(rtBoxesOverlap(0, 0, 10, 10, 10, 0, 5, 5), 1); // shares the edge x = 10
    EXPECT_EQ(rtBoxesOverlap(0, 0, 10, 10, 10.5, 0, 5, 5), 0);
    EXPECT_EQ(rtBoxesOverlap(0, 0, 10, 10, 0, 11, 5, 5), 0);
    EXPECT_EQ(rtBoxesOverlap(10, 10, -10, -10, 1, 1, 1, 1), 1); // covers 0..10 on both axes
    EXPECT_EQ(rtBoxesOverlap(10, 10, -5, -5, 1, 1, 1, 1), 0);
}
