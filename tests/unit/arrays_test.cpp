// Game arrays: capacities and storage, clearing, bounds tests that end the program, resizing, copying.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "end_code_log.h"
#include "runtime/runtime.h"

TEST(Arrays, CapacityFollowsTheElementCountWithInlineStorageUpToSixteen)
{
    RtArray heap;
    rtDimArray(heap, 5, 4, 0, 0);
    EXPECT_EQ(heap.capacity, 24);
    EXPECT_NE(heap.data, heap.inlineBuffer);
    EXPECT_EQ(heap.dimensions, 2);

    RtArray small;
    rtDimArray(small, 2, 4, 0, 0);
    EXPECT_EQ(small.capacity, 16);
    EXPECT_EQ(small.data, small.inlineBuffer);

    RtArray none;
    rtDimArray(none, 0, 0, 0, 0);
    EXPECT_EQ(none.capacity, 8);
    EXPECT_EQ(none.size1, 0);

    RtArray four;
    rtDimArray(four, 2, 3, 0, 5);
    EXPECT_EQ(four.dimensions, 4);
    EXPECT_EQ(four.capacity, 32); // 30 elements
}

TEST(Arrays, DimensioningAgainClearsAndKeepsLargerStorage)
{
    RtArray array;
    rtDimArray(array, 5, 4, 0, 0);
    double* block = array.data;
    for (int i = 0; i < 20; ++i)
        array.data[i] = i + 1;
    rtDimArray(array, 3, 0, 0, 0);
    EXPECT_EQ(array.data, block);
    EXPECT_EQ(array.capacity, 24);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(array.data[i], 0) << i;

    // A first size below 1 renews the storage even though it would fit.
    rtDimArray(array, 0.5, 0, 0, 0);
    EXPECT_EQ(array.data, array.inlineBuffer);
    EXPECT_EQ(array.capacity, 8);
}

TEST(Arrays, ElementsLieWithTheFirstIndexFastest)
{
    RtArray array;
    rtDimArray(array, 5, 4, 0, 0);
    rtArrayAt(array, 4, 3) = 7;
    EXPECT_EQ(array.data[19], 7);
    rtArrayAt(array, 1.9, 2.2) = 3; // indices truncate
    EXPECT_EQ(array.data[11], 3);

    RtArray cube;
    rtDimArray(cube, 2, 3, 4, 0);
    rtArrayAt(cube, 1, 2, 3) = 5;
    EXPECT_EQ(cube.data[1 + 2 * 2 + 3 * 6], 5);
}

TEST(Arrays, MissingMiddleDimensionKeepsElementsApart)
{
    RtArray array;
    rtDimArray(array, 5, 0, 3, 0);
    rtArrayAt(array, 0, 0, 1) = 1;
    rtArrayAt(array, 0, 0, 2) = 2;
    EXPECT_EQ(rtArrayAt(array, 0, 0, 1), 1);
    EXPECT_EQ(rtArrayAt(array, 0, 0, 2), 2);
}

TEST(Arrays, SizesThatAreNotNumbersCountAsZeroAndNegativeOnesStay)
{
    RtArray array;
    rtDimArray(array, std::nan(""), 0, 0, 0);
    EXPECT_EQ(array.size1, 0);
    rtDimArray(array, 3, -4, 0, 0);
    EXPECT_EQ(rtArraySize(array, 1), -4);
    EXPECT_EQ(array.dimensions, 2);
    EXPECT_EQ(array.capacity, 8);
}

TEST(ArraysDeathTest, AccessOutsideTheArrayEndsWithNineOrEight)
{
    RtArray array;
    rtDimArray(array, 5, 4, 0, 0);
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, 5, 0), "9");
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, -1, 0), "9");
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, 0, 4), "9");
    // An index of a dimension the array does not have is outside it, never an address beyond the storage.
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, 0, 0, 1), "9");
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, 0, 0, 0, 100000), "9");
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, 1e12, 0), "9");
    EXPECT_ENDS_WITH_CODE(rtArrayAt(array, 0, std::nan("")), "9");

    RtArray negative; // no index lies inside a negative size
    rtDimArray(negative, 3, -4, 0, 0);
    EXPECT_ENDS_WITH_CODE(rtArrayAt(negative, 0, 0), "9");

    RtArray never;
    EXPECT_ENDS_WITH_CODE(rtArrayAt(never, 0), "8");
    RtArray belowOne;
    rtDimArray(belowOne, 0.9, 3, 0, 0);
    EXPECT_ENDS_WITH_CODE(rtArrayAt(belowOne, 0, 0), "8");
}

TEST(ArraysDeathTest, ElementCountsBeyondStorageEndWithSeven)
{
    RtArray array;
    EXPECT_ENDS_WITH_CODE(rtDimArray(array, 1e6, 1e6, 1e6, 0), "7");
    EXPECT_ENDS_WITH_CODE(rtDimArray(array, 2, std::numeric_limits<double>::infinity(), 0, 0), "7");
    EXPECT_ENDS_WITH_CODE(rtResizeArray(array, 65536, 65536, 0, 0), "7");
}

TEST(Arrays, ResizeKeepsTheOverlap)
{
    RtArray array;
    rtDimArray(array, 3, 2, 0, 0);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i)
            rtArrayAt(array, i, j) = 10 * j + i + 1;

    rtResizeArray(array, 5, 4, 0, 0); // grows onto the heap
    EXPECT_NE(array.data, array.inlineBuffer);
    EXPECT_EQ(array.size1, 5);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(rtArrayAt(array, i, j), (i < 3 && j < 2) ? 10 * j + i + 1 : 0) << i << "," << j;

    rtResizeArray(array, 2, 0, 0, 0); // shrinks to one dimension in the inline buffer
    EXPECT_EQ(array.data, array.inlineBuffer);
    EXPECT_EQ(rtArrayAt(array, 0), 1);
    EXPECT_EQ(rtArrayAt(array, 1), 2);
    EXPECT_EQ(array.dimensions, 1);

    rtResizeArray(array, 2, 2, 2, 0); // a new dimension: the old elements become its index 0
    EXPECT_EQ(rtArrayAt(array, 1, 0, 0), 2);
    EXPECT_EQ(rtArrayAt(array, 1, 1, 1), 0);

    RtArray never;
    rtResizeArray(never, 4, 0, 0, 0);
    EXPECT_EQ(never.size1, 4);
    EXPECT_EQ(rtArrayAt(never, 3), 0);
}

TEST(Arrays, CopyDataAndSizes)
{
    RtArray source;
    const double values[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    rtDimArrayWithData(source, 18, values);
    EXPECT_EQ(source.size1, 18);
    EXPECT_EQ(rtArrayAt(source, 17), 18);
    rtResizeArray(source, 6, 3, 0, 0); // the first six stay in row 0
    rtArrayAt(source, 5, 2) = 18;

    RtArray copy;
    rtCopyArray(copy, source);
    EXPECT_EQ(copy.size1, 6);
    EXPECT_EQ(copy.size2, 3);
    EXPECT_EQ(rtArrayAt(copy, 5, 0), 6);
    EXPECT_EQ(rtArrayAt(copy, 0, 1), 0);
    EXPECT_EQ(rtArrayAt(copy, 5, 2), 18);

    rtCopyArray(copy, copy); // onto itself: unchanged
    EXPECT_EQ(rtArrayAt(copy, 5, 2), 18);

    EXPECT_EQ(rtArraySize(copy, 0), 6);
    EXPECT_EQ(rtArraySize(copy, 1.5), 3);
    EXPECT_EQ(rtArraySize(copy, 2), 0);
    EXPECT_EQ(rtArraySize(copy, 4), 0);
    EXPECT_EQ(rtArraySize(copy, -1), 0);
}
