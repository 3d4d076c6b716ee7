#include "fonts.h"

#include "lettering.h"

namespace flipdata {

Picture smallFont()
{
    Picture pic(128, 64);
    for (int code = 32; code < 128; ++code) {
        int ox = 8 * (code % 16), oy = 8 * (code / 16);
        for (int ly = 0; ly < 8; ++ly)
            for (int lx = 0; lx < 7; ++lx) {
                auto lit = [&](int gx, int gy) { return glyphBit(code, gx - 1, gy - 1); };
                if (lit(lx, ly))
                    pic.blend(ox + lx, oy + ly, white, 1);
                else if (lit(lx - 1, ly) || lit(lx + 1, ly) || lit(lx, ly - 1) || lit(lx, ly + 1))
                    pic.blend(ox + lx, oy + ly, Colour{8, 8, 8}, 1);
            }
    }
    return pic;
}

// The game's font: 192 × 128, a 16 × 8 grid of 12 × 16 cells. Glyphs are the 5 × 6 shapes doubled
// with the Scale2x rule (which rounds off diagonal steps), with a golden face and a dark outline.
// The small letters are 3 × 3 pixels in the 5 × 6 set ("a" and "o" differ by one pixel), so this
// font draws every letter as a capital.
Picture gameFont()
{
    Picture pic(192, 128);
    const Colour top{255, 246, 170}, bottom{250, 150, 30}, outline{40, 20, 50};
    for (int cell = 32; cell < 128; ++cell) {
        int ox = 12 * (cell % 16), oy = 16 * (cell / 16);
        int code = cell >= 'a' && cell <= 'z' ? cell - 32 : cell;
        bool big[12][10] = {};
        for (int gy = 0; gy < 6; ++gy)
            for (int gx = 0; gx < 5; ++gx) {
                bool e = glyphBit(code, gx, gy);
                bool b = glyphBit(code, gx, gy - 1), h = glyphBit(code, gx, gy + 1);
                bool d = glyphBit(code, gx - 1, gy), f = glyphBit(code, gx + 1, gy);
                bool e0 = e, e1 = e, e2 = e, e3 = e;
                if (b != h && d != f) {
                    e0 = d == b ? d : e;
                    e1 = b == f ? f : e;
                    e2 = d == h ? d : e;
                    e3 = h == f ? f : e;
                }
                big[2 * gy][2 * gx] = e0;
                big[2 * gy][2 * gx + 1] = e1;
                big[2 * gy + 1][2 * gx] = e2;
                big[2 * gy + 1][2 * gx + 1] = e3;
            }
        auto on = [&](int x, int y) { return x >= 0 && x < 10 && y >= 0 && y < 12 && big[y][x]; };
        for (int y = -1; y <= 12; ++y)
            for (int x = -1; x <= 10; ++x) {
                int px = ox + 1 + x, py = oy + 2 + y;
                if (on(x, y)) {
                    pic.blend(px, py, mix(top, bottom, y / 11.0), 1);
                } else {
                    bool near = false;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            near = near || on(x + dx, y + dy);
                    if (near) pic.blend(px, py, outline, 1);
                }
            }
    }
    return pic;
}

} // namespace flipdata
