// Text arrays and the growable text list.
#include <gtest/gtest.h>

#include <string>

#include "end_code_log.h"
#include "runtime/runtime.h"

TEST(TextArrays, DimensioningClearsEveryTextAndKeepsLargerBlocks)
{
    RtTextArray array;
    rtDimTextArray(array, 4, 3, 0, 0);
    EXPECT_EQ(array.capacity, 16);
    EXPECT_EQ(array.dimensions, 2);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            rtTextArrayAt(array, i, j) = RtString("text ") + (i + 4 * j);
    EXPECT_STREQ(rtTextArrayAt(array, 3, 2).c_str(), "text 11");

    RtString* block = array.data;
    rtDimTextArray(array, 2, 0, 0, 0);
    EXPECT_EQ(array.data, block);
    EXPECT_EQ(array.capacity, 16);
    for (int i = 0; i < array.capacity; ++i)
        EXPECT_TRUE(array.data[i].empty()) << i;

    rtDimTextArray(array, 8, 0, 0, 0);
    EXPECT_EQ(array.capacity, 16); // 8 texts need 16
    rtDimTextArray(array, 17, 0, 0, 0);
    EXPECT_EQ(array.capacity, 24);
}

TEST(TextArraysDeathTest, BadAccessEndsTheProgram)
{
    RtTextArray sized;
    rtDimTextArray(sized, 3, 2, 0, 0);
    EXPECT_ENDS_WITH_CODE(rtTextArrayAt(sized, 3, 0), "9");
    EXPECT_ENDS_WITH_CODE(rtTextArrayAt(sized, 0, 2), "9");
    EXPECT_ENDS_WITH_CODE(rtTextArrayAt(sized, 0, 0, 1), "9");
    EXPECT_ENDS_WITH_CODE(rtTextArrayAt(sized, 0, -1), "9");

    RtTextArray zero;
    rtDimTextArray(zero, 0, 0, 0, 0);
    EXPECT_EQ(zero.capacity, 8);
    EXPECT_ENDS_WITH_CODE(rtTextArrayAt(zero, 0), "8");
    RtTextArray never;
    EXPECT_ENDS_WITH_CODE(rtTextArrayAt(never, 0), "8");

    RtTextArray huge;
    EXPECT_ENDS_WITH_CODE(rtDimTextArray(huge, 1e6, 1e6, 1e6, 0), "7");
}

TEST(TextList, GrowsFrom512In128Steps)
{
    TextList list;
    EXPECT_EQ(list.capacity(), 0);
    list.append(RtString("first"));
    EXPECT_EQ(list.capacity(), 512);
    for (int i = 1; i < 513; ++i)
        list.append(RtString(i));
    EXPECT_EQ(list.count(), 513);
    EXPECT_EQ(list.capacity(), 640);
    EXPECT_STREQ(list[0].c_str(), "first");
    EXPECT_STREQ(list[512].c_str(), "512");

    RtTextArray array;
    list.moveInto(array);
    EXPECT_EQ(array.size1, 513);
    EXPECT_EQ(array.dimensions, 1);
    EXPECT_STREQ(rtTextArrayAt(array, 0).c_str(), "first");
    EXPECT_STREQ(rtTextArrayAt(array, 300).c_str(), "300");
    EXPECT_EQ(list.count(), 0);
}
