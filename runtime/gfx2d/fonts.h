// Bitmap fonts: 16 font slots at the end of the sprite table, each one image holding a grid of 16
// columns and 16 rows (when the image is taller than wide) or 8 rows of equal character cells.
#pragma once

#include "runtime/gfx2d/images.h"
#include "runtime/values/rt_string.h"

namespace rt {

class OpenGLRainbows;

constexpr int fontCount = 16;

// The sprite slot of font 0..15.
inline int fontSlot(int font)
{
    return 65520 + font;
}
// Font numbers from game code held to 0..15.
int clampFont(int font);

// The built-in font: 128 × 64 pixels, 16 × 8 cells of 8 × 8 for codes 32 to 127, white glyphs of
// 5 × 6 pixels with a dark outline, everything else transparent.
void makeBuiltinFont(ImageBuffer& image);
// The glyph bits of codes 32..127: bit 5·row + column, rows top first.
extern const uint32_t builtinGlyphs[96];

// Font file into the font's slot (black transparent, nearest filtering). False when it cannot be
// decoded; the slot is then empty.
bool loadFont(OpenGLRainbows& renderer, int font, const char* path);
// The built-in font into the font's slot.
void installBuiltinFont(OpenGLRainbows& renderer, int font);

// rtLoadFont into font 0 for start-up's default font, which a game need not have: a missing file just
// leaves the built-in font, without an error log line.
void loadDefaultFont(const RtString& file);

// Cell width and height of a font; 0 and 0 when it is empty.
void fontCellSize(const OpenGLRainbows& renderer, int font, int& width, int& height);

// The text's top-left corner at (ceil(x), ceil(y)); one cell per byte up to the first 0, advancing by
// the cell width; no line breaks.
void drawText(OpenGLRainbows& renderer, int font, const char* text, float x, float y, float z);
// Text in the 3D scene: with scale ≠ 0 a camera-facing strip of square cells centred on (x, y, z);
// with scale 0 screen-aligned text centred above the point's projection.
void drawTextInScene(OpenGLRainbows& renderer, int font, const char* text, float x, float y, float z,
                     float scale);

} // namespace rt
