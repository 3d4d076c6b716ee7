// The ISAAC core against its published test vector, and the runtime's seeding and draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/values/random.h"

using namespace rt;

TEST(Random, IsaacMatchesThePublishedVector)
{
    IsaacGenerator generator;
    std::fill_n(generator.memory, 256, 0u);
    std::fill_n(generator.results, 256, 0u); // the all-zero seed
    generator.initialise();

    generator.generate();
    EXPECT_EQ(generator.results[0], 0xf650e4c8u);
    EXPECT_EQ(generator.results[1], 0xe448e96du);
    EXPECT_EQ(generator.results[2], 0x98db2fb4u);
    EXPECT_EQ(generator.results[3], 0xf5fad54fu);

    generator.generate();
    EXPECT_EQ(generator.results[0], 0x82ac484fu);
    EXPECT_EQ(generator.results[1], 0xd7e1c7beu);
    EXPECT_EQ(generator.results[2], 0x95c85eaau);
    EXPECT_EQ(generator.results[3], 0x94a302f4u);
}

TEST(Random, SeedingIsRepeatableAndDependsOnTheSeed)
{
    std::vector<double> first, again, other;
    rtSeedRandom(1234);
    for (int i = 0; i < 20; ++i)
        first.push_back(rtRandom(1000000));
    rtSeedRandom(1234);
    for (int i = 0; i < 20; ++i)
        again.push_back(rtRandom(1000000));
    rtSeedRandom(1235);
    for (int i = 0; i < 20; ++i)
        other.push_back(rtRandom(1000000));
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    EXPECT_EQ(randomGenerator().remaining, 256u);
}

TEST(Random, DrawsCoverZeroToNEvenly)
{
    rtSeedRandom(42);
    const int draws = 400000;
    std::vector<int> counts(40, 0);
    for (int i = 0; i < draws; ++i) {
        double value = rtRandom(39);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 39);
        ASSERT_EQ(value, double(int(value)));
        ++counts[int(value)];
    }
    // Each of the 40 values expects 10000 draws; the standard deviation is about 99.
    for (int v = 0; v < 40; ++v)
        EXPECT_NEAR(counts[v], 10000, 600) << v;
}

TEST(Random, LimitsWithoutARangeGiveZero)
{
    EXPECT_EQ(rtRandom(-1), 0);
    EXPECT_EQ(rtRandom(-5000), 0);
    EXPECT_EQ(rtRandom(0), 0);
    EXPECT_EQ(rtRandom(0.9), 0);
    EXPECT_EQ(rtRandom(std::nan("")), 0);
}

TEST(Random, LimitsBeyondTheIntRangeDrawFromUnsigned32Bits)
{
    rtSeedRandom(7);
    const int draws = 20000;
    int above = 0;
    for (int i = 0; i < draws; ++i) {
        double value = rtRandom(3e9);
        ASSERT_LE(value, 3e9);
        if (value >= 2147483648.0) ++above;
    }
    // Draws of 2^31 up to 3e9 come straight from the words of that range: (3e9 - 2^31) / 2^32 of them.
    EXPECT_NEAR(above, draws * 0.1985, 400);
    for (double limit : {4294967295.0, 1e12}) {
        double value = rtRandom(limit); // the modulus 2^32 wraps to 0 in 32 bits
        EXPECT_GE(value, 0);
        EXPECT_LE(value, 4294967295.0);
    }
}
