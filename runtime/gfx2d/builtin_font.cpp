// The built-in font, drawn from a table of 5 × 6 glyph bitmaps so that text works without font files.
#include <cstring>

#include "runtime/gfx2d/fonts.h"

using namespace rt;

namespace rt {

const uint32_t builtinGlyphs[96] = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x00001080, // 32-39
    0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000, 0x08000000, 0x04222100, // 40-47
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E, 0x00E5384E, 0x0042210E, // 48-55
    0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080, 0x00820888, 0x000701C0, 0x00222082, 0x0040310E, // 56-63
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E, // 64-71
    0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E, // 72-79
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5, // 80-87
    0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144, 0x00E00000, // 88-95
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800, 0x00423888, 0x08873800, // 96-103
    0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800, // 104-111
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400, // 112-119
    0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F, // 120-127
};

static constexpr int builtinWidth = 128, builtinHeight = 64, cellSize = 8;

// Whether local cell position (lx, ly) is a lit pixel of the glyph: the 5 × 6 bitmap sits at (1, 1).
static bool glyphPixel(uint32_t glyph, int lx, int ly)
{
    if (lx < 1 || lx > 5 || ly < 1 || ly > 6) return false;
    return (glyph >> (5 * (ly - 1) + (lx - 1))) & 1;
}

void makeBuiltinFont(ImageBuffer& image)
{
    image.width = builtinWidth;
    image.height = builtinHeight;
    image.pixels.assign(size_t(builtinWidth) * builtinHeight * 4, 0);
    for (int code = 32; code < 128; ++code) {
        uint32_t glyph = builtinGlyphs[code - 32];
        int originX = cellSize * (code % 16), originY = cellSize * (code / 16);
        for (int ly = 0; ly < 8; ++ly) {
            for (int lx = 0; lx < 7; ++lx) {
                uint8_t value;
                if (glyphPixel(glyph, lx, ly))
                    value = 255;
                else if (glyphPixel(glyph, lx - 1, ly) || glyphPixel(glyph, lx + 1, ly) ||
                         glyphPixel(glyph, lx, ly - 1) || glyphPixel(glyph, lx, ly + 1))
                    value = 8; // the dark outline
                else
                    continue;
                uint8_t* pixel = image.pixel(originX + lx, originY + ly);
                pixel[0] = pixel[1] = pixel[2] = value;
                pixel[3] = 255;
            }
        }
    }
}

} // namespace rt
