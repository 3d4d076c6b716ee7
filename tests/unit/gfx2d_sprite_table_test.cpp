// The sprite table: slot numbers from game code are checked, emptying forgets a slot wholly, and the
// table costs no memory until slots are used, not even when every slot is emptied.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "runtime/gfx2d/sprite_table.h"

using namespace rt;

namespace {

long residentBytes()
{
    long pages = 0, resident = 0;
    FILE* file = fopen("/proc/self/statm", "r");
    if (!file) return -1;
    if (fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = -1;
    fclose(file);
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

TEST(SpriteTable, NumbersOutsideTheTableGiveNoSlot)
{
    auto table = std::make_unique<SpriteTable>();
    const SpriteTable& readOnly = *table;
    for (int number : {-1, spriteSlotCount, INT_MIN, INT_MAX}) {
        EXPECT_EQ(table->slot(number), nullptr) << number;
        EXPECT_EQ(readOnly.slot(number), nullptr) << number;
        EXPECT_EQ(readOnly.withImage(number), nullptr) << number;
        table->empty(number, nullptr); // ignored, no write outside the table
    }
    ASSERT_NE(table->slot(0), nullptr);
    ASSERT_NE(table->slot(spriteSlotCount - 1), nullptr);
    EXPECT_EQ(table->slot(spriteSlotCount - 1) - table->slot(0), spriteSlotCount - 1);
    EXPECT_EQ(table->slot(firstFontSlot)->imageWidth, 0);
    EXPECT_EQ(table->slot(firstFontSlot)->textureWidth, 0);
}

TEST(SpriteTable, OnlyASlotWithAnAreaHasAnImageAndEmptyingForgetsEverything)
{
    SpriteTable table;
    SpriteSlot& slot = *table.slot(7);
    slot.imageWidth = 20;
    EXPECT_EQ(table.withImage(7), nullptr); // no height: nothing to draw
    slot.imageHeight = 10;
    slot.textureWidth = slot.textureHeight = 32;
    slot.collisionMask = new uint8_t[32 * 32]; // the sanitizer build reports it if emptying leaks it
    slot.madeNearest = true;
    slot.filterNow = filterNearest;
    EXPECT_EQ(table.withImage(7), &slot);

    table.empty(7, nullptr);
    EXPECT_EQ(table.withImage(7), nullptr);
    EXPECT_EQ(slot.collisionMask, nullptr);
    EXPECT_EQ(slot.textureWidth + slot.textureHeight + slot.imageWidth + slot.imageHeight, 0);
    EXPECT_FALSE(slot.madeNearest);
    EXPECT_EQ(slot.filterNow, filterUnknown);

    table.slot(9)->collisionMask = new uint8_t[4]; // left for the table's end to free
}

TEST(SpriteTable, UnusedSlotsTakeNoMemory)
{
    long before = residentBytes();
    ASSERT_GT(before, 0);
    {
        auto table = std::make_unique<SpriteTable>();
        table->slot(1000)->imageWidth = 1;
        table->slot(firstFontSlot)->imageWidth = 1;
        EXPECT_LT(residentBytes() - before, 512 * 1024); // the whole table is 3.1 MB
        // Emptying every slot looks only at pages in use, including a slot that starts on one.
        int acrossPages = int(sysconf(_SC_PAGESIZE) / long(sizeof(SpriteSlot)));
        table->slot(acrossPages)->collisionMask = new uint8_t[4];
        table->emptyAll(nullptr);
        EXPECT_EQ(table->slot(acrossPages)->collisionMask, nullptr);
        EXPECT_EQ(table->slot(firstFontSlot)->imageWidth, 0);
        EXPECT_LT(residentBytes() - before, 512 * 1024);
    }
}
