// The built-in 5 × 6 glyphs for codes 32..127 and big lettering made from them.
#pragma once

#include "picture.h"
#include "shapes.h"

#include <string>

namespace flipdata {

// Whether the glyph of `code` lights its pixel (gx, gy); false outside the glyph or the code range.
bool glyphBit(int code, int gx, int gy);

// Big lettering for the pictures: each glyph pixel becomes a square of `cell` pixels, letters are
// spaced by their own width plus one cell, and the line is centred on cx with its top at `top`.
Sdf textShape(const std::string& text, double cx, double top, double cell);

// Lettering with a drop shadow, an outline and a face that brightens towards the top.
void paintText(Picture& pic, const std::string& text, double cx, double top, double cell, Colour face,
               Colour outline);

} // namespace flipdata
