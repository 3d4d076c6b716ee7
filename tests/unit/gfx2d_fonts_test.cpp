// The built-in font's glyph bitmaps.
#include <gtest/gtest.h>

#include "runtime/gfx2d/fonts.h"

using namespace rt;

TEST(BuiltinFont, ExclamationMarkIsLitInGlyphColumnTwoWithADarkOutline)
{
    ImageBuffer font;
    makeBuiltinFont(font);
    ASSERT_EQ(font.width, 128);
    ASSERT_EQ(font.height, 64);
    // Code 33 sits in cell column 1, row 2: origin (8, 16). Glyph (gx, gy) is local (gx + 1, gy + 1).
    auto lit = [&](int gx, int gy) { return font.pixel(8 + gx + 1, 16 + gy + 1)[0] == 255; };
    for (int gy = 0; gy < 6; ++gy)
        for (int gx = 0; gx < 5; ++gx)
            EXPECT_EQ(lit(gx, gy), gx == 2 && (gy == 1 || gy == 2 || gy == 3 || gy == 5)) << gx << "," << gy;
    const uint8_t* outline = font.pixel(8 + 2, 16 + 2); // left of the top of the stroke
    EXPECT_EQ(outline[0], 8);
    EXPECT_EQ(outline[3], 255);
    EXPECT_EQ(font.pixel(8 + 3, 16 + 5)[3], 255); // the gap row between the stroke and the dot: outline
    EXPECT_EQ(font.pixel(8 + 3, 16 + 5)[0], 8);
    EXPECT_EQ(font.pixel(8 + 0, 16 + 0)[3], 0); // cell corner: transparent

    // Codes 0 to 31 and the eighth column of every cell stay empty.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 128; ++x)
            ASSERT_EQ(font.pixel(x, y)[3], 0);
    for (int cell = 0; cell < 16; ++cell)
        for (int y = 16; y < 64; ++y)
            ASSERT_EQ(font.pixel(cell * 8 + 7, y)[3], 0);
    // Code 127 (all rows of its 5-wide box edges lit) reaches glyph column 4: local column 5.
    EXPECT_EQ(font.pixel(15 * 8 + 5, 7 * 8 + 1)[0], 255);
}
