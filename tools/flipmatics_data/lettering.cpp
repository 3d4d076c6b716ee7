#include "lettering.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace flipdata {
namespace {

// Bit 5·row + column, top row first.
const std::array<uint32_t, 96> glyphWords = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x00001080,
    0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000, 0x08000000, 0x04222100,
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E, 0x00E5384E, 0x0042210E,
    0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080, 0x00820888, 0x000701C0, 0x00222082, 0x0040310E,
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E,
    0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E,
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5,
    0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144, 0x00E00000,
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800, 0x00423888, 0x08873800,
    0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800,
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400,
    0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,
};

// Calls lit(gx, gy) for each lit pixel of the glyph, column by column from the left, each column top
// to bottom.
template <class Lit> void forEachLitPixel(int code, Lit lit)
{
    for (int gx = 0; gx < 5; ++gx)
        for (int gy = 0; gy < 6; ++gy)
            if (glyphBit(code, gx, gy)) lit(gx, gy);
}

} // namespace

bool glyphBit(int code, int gx, int gy)
{
    if (code < 32 || code > 127 || gx < 0 || gx > 4 || gy < 0 || gy > 5) return false;
    return (glyphWords[code - 32] >> (5 * gy + gx)) & 1;
}

Sdf textShape(const std::string& text, double cx, double top, double cell)
{
    struct Lit
    {
        double x, y;
    };
    std::vector<Lit> lit;
    double pen = 0;
    for (char ch : text) {
        int code = static_cast<unsigned char>(ch);
        // The letter's first and last lit columns: it is as wide as its ink.
        int first = 5, last = -1;
        forEachLitPixel(code, [&](int gx, int) { first = std::min(first, gx), last = std::max(last, gx); });
        if (last < 0) { // a space
            pen += 3;
            continue;
        }
        forEachLitPixel(code, [&](int gx, int gy) { lit.push_back({pen + gx - first, double(gy)}); });
        pen += last - first + 2;
    }
    double left = cx - (pen - 1) * cell / 2;
    double half = cell / 2 + 0.5; // half a pixel of overlap hides the seams between squares
    return [=](double x, double y) {
        double d = 1e9;
        for (const Lit& l : lit) {
            double qx = std::abs(x - (left + (l.x + 0.5) * cell)) - half;
            double qy = std::abs(y - (top + (l.y + 0.5) * cell)) - half;
            d = std::min(d,
                         std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0));
        }
        return d;
    };
}

void paintText(Picture& pic, const std::string& text, double cx, double top, double cell, Colour face,
               Colour outline)
{
    Sdf shape = textShape(text, cx, top, cell);
    paint(
        pic, [&](double x, double y) { return shape(x - 2, y - 3); }, black, 2, 0.35);
    paint(pic, shape, outline, 2.2);
    paint(pic, shape, vertical(mix(face, white, 0.55), face, top, top + 5 * cell));
}

} // namespace flipdata
