// Makes Flipmatics' data: the background, the two font images, forty card faces, the card back, the
// cursor steps, the three end pictures and the four sounds. Everything is drawn and synthesised here
// from code with no randomness and no input files, so every run writes the same bytes.
//
// Usage: make_flipmatics_data <folder>
// Writes <folder>/smalfont.bmp, <folder>/images/*.bmp and <folder>/sounds/*.wav.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Pictures: premultiplied colour and coverage per pixel, written as 24-bit BMP
// ---------------------------------------------------------------------------------------------

struct Colour
{
    double r, g, b; // 0..255
};

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour shade(Colour c, double f)
{
    return {c.r * f, c.g * f, c.b * f};
}

const Colour white{255, 255, 255};
const Colour black{0, 0, 0};

struct Picture
{
    int width, height;
    std::vector<Colour> colour; // premultiplied by coverage
    std::vector<double> cover;  // 0 = transparent, 1 = opaque

    Picture(int w, int h) : width(w), height(h), colour(size_t(w) * h, black), cover(size_t(w) * h, 0.0) {}

    // Lays colour c with opacity a over the pixel.
    void blend(int x, int y, Colour c, double a)
    {
        size_t i = size_t(y) * width + x;
        Colour& p = colour[i];
        p = {c.r * a + p.r * (1 - a), c.g * a + p.g * (1 - a), c.b * a + p.b * (1 - a)};
        cover[i] = a + cover[i] * (1 - a);
    }
};

struct Key
{
    uint8_t r, g, b;
};
const Key spriteKey{255, 0, 128}; // sprites: red 255, green 0, blue 128 is transparent
const Key fontKey{0, 0, 0};       // fonts: black is transparent

// Pixels that are less than half covered become the colour key; the others keep their own colour at
// full strength, so edges against the key stay clean.
void writeBmp(const Picture& pic, const std::filesystem::path& path, Key key = spriteKey)
{
    int stride = (pic.width * 3 + 3) & ~3;
    uint32_t dataSize = uint32_t(stride) * pic.height;
    std::vector<uint8_t> file(54 + dataSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        file[at] = uint8_t(v);
        file[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(pic.width));
    put32(22, uint32_t(pic.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    auto byte = [](double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
    for (int y = 0; y < pic.height; ++y) {
        uint8_t* row = &file[54 + size_t(pic.height - 1 - y) * stride]; // rows stored bottom-up
        for (int x = 0; x < pic.width; ++x) {
            size_t i = size_t(y) * pic.width + x;
            uint8_t r = key.r, g = key.g, b = key.b;
            if (pic.cover[i] >= 0.5) {
                const Colour& c = pic.colour[i];
                r = byte(c.r / pic.cover[i]);
                g = byte(c.g / pic.cover[i]);
                b = byte(c.b / pic.cover[i]);
                if (r == key.r && g == key.g && b == key.b) b = b < 255 ? b + 1 : b - 1; // stay visible
            }
            row[x * 3] = b;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = r;
        }
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

// ---------------------------------------------------------------------------------------------
// Shapes as signed distance functions (negative inside, in pixels or in symbol units)
// ---------------------------------------------------------------------------------------------

using Sdf = std::function<double(double x, double y)>;
using ColourAt = std::function<Colour(double x, double y)>;

struct Point
{
    double x, y;
};

Sdf circle(double cx, double cy, double r)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

// Box with half sizes hw, hh and corner radius round.
Sdf box(double cx, double cy, double hw, double hh, double round = 0)
{
    return [=](double x, double y) {
        double qx = std::abs(x - cx) - hw + round, qy = std::abs(y - cy) - hh + round;
        double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - round;
    };
}

Sdf segment(double ax, double ay, double bx, double by, double radius)
{
    return [=](double x, double y) {
        double px = x - ax, py = y - ay, ex = bx - ax, ey = by - ay;
        double t = std::clamp((px * ex + py * ey) / (ex * ex + ey * ey), 0.0, 1.0);
        return std::hypot(px - ex * t, py - ey * t) - radius;
    };
}

Sdf polygon(std::vector<Point> v)
{
    return [v = std::move(v)](double x, double y) {
        double d = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
        double sign = 1;
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
            double ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
            double wx = x - v[i].x, wy = y - v[i].y;
            double t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
            double bx = wx - ex * t, by = wy - ey * t;
            d = std::min(d, bx * bx + by * by);
            bool c1 = y >= v[i].y, c2 = y<v[j].y, c3 = ex * wy> ey * wx;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
        }
        return sign * std::sqrt(d);
    };
}

std::vector<Point> regular(int n, double r, double startDegrees)
{
    std::vector<Point> v;
    for (int k = 0; k < n; ++k) {
        double a = (startDegrees + 360.0 * k / n) * pi / 180;
        v.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return v;
}

std::vector<Point> starPoints(int n, double outer, double inner, double startDegrees)
{
    std::vector<Point> v;
    for (int k = 0; k < 2 * n; ++k) {
        double a = (startDegrees + 180.0 * k / n) * pi / 180;
        double r = k % 2 ? inner : outer;
        v.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return v;
}

std::vector<Point> ellipse(double cx, double cy, double rx, double ry, double degrees)
{
    std::vector<Point> v;
    double c = std::cos(degrees * pi / 180), s = std::sin(degrees * pi / 180);
    for (int k = 0; k < 48; ++k) {
        double a = 2 * pi * k / 48, ex = rx * std::cos(a), ey = ry * std::sin(a);
        v.push_back({cx + ex * c - ey * s, cy + ex * s + ey * c});
    }
    return v;
}

// The classic heart curve, about 1.9 wide and 1.8 high, centred; flip turns it upside down.
std::vector<Point> heartPoints(double scale, double dy, bool flip)
{
    std::vector<Point> v;
    for (int k = 0; k < 72; ++k) {
        double t = 2 * pi * k / 72, s = std::sin(t);
        double x = 16 * s * s * s / 17;
        double y =
            -(13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t)) / 17 - 0.15;
        v.push_back({x * scale, (flip ? -y : y) * scale + dy});
    }
    return v;
}

Sdf unite(Sdf a, Sdf b)
{
    return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
Sdf unite(std::vector<Sdf> parts)
{
    return [=](double x, double y) {
        double d = 1e9;
        for (const Sdf& s : parts)
            d = std::min(d, s(x, y));
        return d;
    };
}
Sdf subtract(Sdf a, Sdf b)
{
    return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf intersect(Sdf a, Sdf b)
{
    return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
Sdf rotated(Sdf a, double degrees)
{
    double c = std::cos(degrees * pi / 180), s = std::sin(degrees * pi / 180);
    return [=](double x, double y) { return a(x * c + y * s, -x * s + y * c); };
}
// Half-planes for cutting shapes: everything below (larger y) or above the line y = y0.
Sdf lowerHalf(double y0)
{
    return [=](double, double y) { return y0 - y; };
}
Sdf upperHalf(double y0)
{
    return [=](double, double y) { return y - y0; };
}
// A shape in symbol units (about -1..1) placed with its centre at (cx, cy) and scaled to pixels.
Sdf placed(Sdf unit, double cx, double cy, double scale)
{
    return [=](double x, double y) { return unit((x - cx) / scale, (y - cy) / scale) * scale; };
}

// Paints the shape (grown by `grow` pixels) with antialiased edges.
void paint(Picture& pic, const Sdf& shape, const ColourAt& colour, double grow = 0, double opacity = 1)
{
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double a = std::clamp(0.5 - (shape(px, py) - grow), 0.0, 1.0) * opacity;
            if (a > 0) pic.blend(x, y, colour(px, py), a);
        }
}

void paint(Picture& pic, const Sdf& shape, Colour c, double grow = 0, double opacity = 1)
{
    paint(
        pic, shape, [c](double, double) { return c; }, grow, opacity);
}

ColourAt vertical(Colour top, Colour bottom, double y0, double y1)
{
    return [=](double, double y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}

// ---------------------------------------------------------------------------------------------
// The 5 × 6 glyphs for codes 32..127: bit 5·row + column, top row first
// ---------------------------------------------------------------------------------------------

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

bool glyphBit(int code, int gx, int gy)
{
    if (code < 32 || code > 127 || gx < 0 || gx > 4 || gy < 0 || gy > 5) return false;
    return (glyphWords[code - 32] >> (5 * gy + gx)) & 1;
}

// Big lettering for the pictures: each glyph pixel becomes a square of `cell` pixels, letters are
// spaced by their own width plus one cell, and the line is centred on cx with its top at `top`.
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
        int first = 5, last = -1;
        for (int gx = 0; gx < 5; ++gx)
            for (int gy = 0; gy < 6; ++gy)
                if (glyphBit(code, gx, gy)) first = std::min(first, gx), last = std::max(last, gx);
        if (last < 0) { // a space
            pen += 3;
            continue;
        }
        for (int gx = first; gx <= last; ++gx)
            for (int gy = 0; gy < 6; ++gy)
                if (glyphBit(code, gx, gy)) lit.push_back({pen + gx - first, double(gy)});
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

// Lettering with a drop shadow, an outline and a face that brightens towards the top.
void paintText(Picture& pic, const std::string& text, double cx, double top, double cell, Colour face,
               Colour outline)
{
    Sdf shape = textShape(text, cx, top, cell);
    paint(
        pic, [&](double x, double y) { return shape(x - 2, y - 3); }, black, 2, 0.35);
    paint(pic, shape, outline, 2.2);
    paint(pic, shape, vertical(mix(face, white, 0.55), face, top, top + 5 * cell));
}

// ---------------------------------------------------------------------------------------------
// Font images
// ---------------------------------------------------------------------------------------------

// The runtime's default font: 128 × 64, 8 × 8 cells, white glyphs with a dark outline.
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

// ---------------------------------------------------------------------------------------------
// Cards: faces, back and cursor (64 × 60)
// ---------------------------------------------------------------------------------------------

constexpr int cardW = 64, cardH = 60;
const Sdf cardBody = box(32, 30, 31.5, 29.5, 7);

const Colour red{215, 40, 45}, orange{240, 130, 20}, yellow{245, 200, 30}, lime{125, 195, 40},
    green{35, 150, 70}, teal{20, 160, 165}, sky{60, 150, 230}, blue{45, 75, 205}, purple{135, 70, 200},
    magenta{215, 60, 165}, pink{245, 120, 170}, brown{150, 90, 45}, slate{60, 70, 95};

struct Detail
{
    Sdf shape;
    Colour colour;
};

struct Symbol
{
    Sdf shape; // in symbol units, about -1..1
    Colour colour;
    std::vector<Detail> details;
};

std::vector<Symbol> cardSymbols()
{
    auto poly = [](std::vector<Point> v) { return polygon(std::move(v)); };
    const Colour dark{35, 30, 40}, cream{250, 245, 225};
    Sdf plus = unite(box(0, 0, 0.3, 0.92, 0.06), box(0, 0, 0.92, 0.3, 0.06));
    std::vector<Symbol> s;
    s.push_back({circle(0, 0, 0.9), orange, {{circle(-0.3, -0.3, 0.22), Colour{255, 220, 170}}}});
    s.push_back({box(0, 0, 0.78, 0.78, 0.14), blue, {}});
    s.push_back({poly({{0, -0.98}, {0.98, 0.8}, {-0.98, 0.8}}), green, {}});
    s.push_back({poly({{0, -1.04}, {0.74, 0}, {0, 1.04}, {-0.74, 0}}), magenta, {}});
    s.push_back({poly(starPoints(5, 1.04, 0.43, -90)), yellow, {}});
    s.push_back({poly(heartPoints(1.0, 0.05, false)), red, {}});
    s.push_back({subtract(circle(0, 0, 0.95), circle(0.45, -0.28, 0.78)), sky, {}});
    s.push_back({plus, teal, {}});
    s.push_back({poly(regular(6, 0.98, -90)), purple, {}});
    s.push_back({[](double x, double y) { return std::abs(std::hypot(x, y) - 0.66) - 0.27; }, red, {}});
    // 10
    s.push_back({poly({{-0.95, -0.28},
                       {0.1, -0.28},
                       {0.1, -0.78},
                       {0.98, 0},
                       {0.1, 0.78},
                       {0.1, 0.28},
                       {-0.95, 0.28}}),
                 blue,
                 {}});
    s.push_back(
        {poly({{0.3, -1.0}, {-0.62, 0.12}, {-0.05, 0.12}, {-0.32, 1.0}, {0.62, -0.16}, {0.06, -0.16}}),
         yellow,
         {}});
    s.push_back({unite(circle(0, 0.32, 0.62), poly({{0, -1.0}, {0.545, 0.024}, {-0.545, 0.024}})),
                 sky,
                 {{circle(-0.22, 0.22, 0.14), Colour{215, 240, 255}}}});
    {
        std::vector<Sdf> petals;
        for (int k = 0; k < 6; ++k)
            petals.push_back(circle(0.56 * std::cos(k * pi / 3), 0.56 * std::sin(k * pi / 3), 0.4));
        s.push_back({unite(petals), pink, {{circle(0, 0, 0.34), yellow}}});
    }
    {
        std::vector<Sdf> rays{circle(0, 0, 0.52)};
        for (int k = 0; k < 8; ++k) {
            double a = k * pi / 4, w = 0.2;
            rays.push_back(poly({{0.6 * std::cos(a - w), 0.6 * std::sin(a - w)},
                                 {1.02 * std::cos(a), 1.02 * std::sin(a)},
                                 {0.6 * std::cos(a + w), 0.6 * std::sin(a + w)}}));
        }
        s.push_back({unite(rays), orange, {}});
    }
    s.push_back({unite(poly(heartPoints(0.86, -0.2, true)), poly({{0, 0.15}, {0.36, 0.98}, {-0.36, 0.98}})),
                 slate,
                 {}});
    s.push_back({unite({circle(0, -0.47, 0.36), circle(-0.44, 0.12, 0.36), circle(0.44, 0.12, 0.36),
                        box(0, 0, 0.2, 0.3), poly({{0, 0.1}, {0.34, 0.98}, {-0.34, 0.98}})}),
                 green,
                 {}});
    s.push_back({poly(regular(5, 1.0, -90)), teal, {}});
    s.push_back({rotated(plus, 45), red, {}});
    s.push_back({unite(poly(regular(3, 1.02, -90)), poly(regular(3, 1.02, 90))), sky, {}});
    // 20
    s.push_back({unite(box(0, 0.42, 0.64, 0.5), poly({{0, -0.98}, {0.95, -0.02}, {-0.95, -0.02}})),
                 orange,
                 {{box(-0.22, 0.6, 0.17, 0.32), brown}, {box(0.3, 0.3, 0.14, 0.14), Colour{255, 240, 150}}}});
    s.push_back({unite({poly({{0, -1.02}, {0.48, -0.36}, {-0.48, -0.36}}),
                        poly({{0, -0.68}, {0.7, 0.12}, {-0.7, 0.12}}),
                        poly({{0, -0.3}, {0.92, 0.6}, {-0.92, 0.6}}), box(0, 0.78, 0.16, 0.22)}),
                 green,
                 {{box(0, 0.8, 0.14, 0.2), brown}}});
    s.push_back(
        {unite(poly(ellipse(0.15, 0, 0.72, 0.48, 0)), poly({{-0.35, 0}, {-0.98, -0.55}, {-0.98, 0.55}})),
         orange,
         {{circle(0.5, -0.12, 0.1), dark}, {segment(0.05, -0.35, 0.05, 0.35, 0.04), Colour{190, 80, 10}}}});
    s.push_back({unite(intersect(circle(0.5, 0.5, 1.334), circle(-0.5, -0.5, 1.334)),
                       segment(-0.6, 0.6, -0.92, 0.92, 0.07)),
                 lime,
                 {{segment(-0.62, 0.62, 0.62, -0.62, 0.045), green}}});
    s.push_back({unite(intersect(circle(0, 0.12, 0.95), upperHalf(0.12)), box(0, 0.52, 0.3, 0.44, 0.12)),
                 red,
                 {{box(0, 0.56, 0.26, 0.38, 0.1), cream},
                  {unite({circle(-0.45, -0.22, 0.15), circle(0.05, -0.55, 0.14), circle(0.45, -0.15, 0.13)}),
                   cream}}});
    s.push_back({unite(circle(-0.44, 0.52, 0.38), circle(0.44, 0.44, 0.38)),
                 Colour{195, 20, 60},
                 {{unite({segment(-0.4, 0.16, 0.12, -0.82, 0.055), segment(0.42, 0.08, 0.12, -0.82, 0.055),
                          intersect(circle(0.35, -0.85, 0.28), lowerHalf(-0.9))}),
                   green}}});
    s.push_back(
        {intersect(circle(0, 0.8, 1.3), circle(0, -0.8, 1.3)),
         Colour{240, 240, 248},
         {{circle(0, 0, 0.4), blue}, {circle(0, 0, 0.18), dark}, {circle(-0.1, -0.12, 0.07), white}}});
    s.push_back({circle(0, 0, 0.92),
                 yellow,
                 {{unite({circle(-0.32, -0.25, 0.12), circle(0.32, -0.25, 0.12),
                          intersect([](double x,
                                       double y) { return std::abs(std::hypot(x, y + 0.05) - 0.52) - 0.08; },
                                    lowerHalf(0.15))}),
                   dark}}});
    s.push_back({unite({poly(ellipse(-0.3, 0.58, 0.38, 0.27, -22)), box(0.02, -0.16, 0.075, 0.74),
                        poly({{-0.05, -0.9}, {0.6, -0.5}, {0.55, -0.2}, {-0.05, -0.55}})}),
                 purple,
                 {}});
    s.push_back({unite({circle(-0.48, 0.12, 0.42), circle(0.05, -0.18, 0.56), circle(0.52, 0.18, 0.4),
                        box(0, 0.36, 0.78, 0.24, 0.22)}),
                 Colour{110, 170, 235},
                 {}});
    // 30
    s.push_back(
        {poly({{-0.9, 0.72},
               {-0.98, -0.58},
               {-0.48, -0.06},
               {0, -0.88},
               {0.48, -0.06},
               {0.98, -0.58},
               {0.9, 0.72}}),
         Colour{235, 175, 20},
         {{unite({circle(-0.45, 0.38, 0.13), circle(0, 0.38, 0.13), circle(0.45, 0.38, 0.13)}), red}}});
    s.push_back({poly({{-0.98, -0.32}, {-0.56, -0.82}, {0.56, -0.82}, {0.98, -0.32}, {0, 0.98}}),
                 teal,
                 {{unite({segment(-0.98, -0.32, 0.98, -0.32, 0.035), segment(-0.28, -0.32, 0, 0.95, 0.035),
                          segment(0.28, -0.32, 0, 0.95, 0.035), segment(-0.28, -0.32, -0.1, -0.82, 0.035),
                          segment(0.28, -0.32, 0.1, -0.82, 0.035)}),
                   Colour{170, 240, 240}}}});
    s.push_back({unite(box(-0.45, -0.45, 0.45, 0.45, 0.06), box(0.45, 0.45, 0.45, 0.45, 0.06)), slate, {}});
    s.push_back(
        {unite({circle(-0.58, 0.58, 0.32), circle(0, 0, 0.32), circle(0.58, -0.58, 0.32)}), magenta, {}});
    s.push_back(
        {unite(subtract(box(0, 0, 0.92, 0.92, 0.1), box(0, 0, 0.6, 0.6)), box(0, 0, 0.3, 0.3)), teal, {}});
    s.push_back({unite(box(-0.72, 0.02, 0.08, 0.98), poly({{-0.64, -0.92},
                                                           {0.3, -0.7},
                                                           {0.95, -0.82},
                                                           {0.85, -0.35},
                                                           {0.95, 0.1},
                                                           {0.3, -0.02},
                                                           {-0.64, 0.08}})),
                 red,
                 {}});
    {
        std::vector<Sdf> turns;
        double px = 0.1, py = 0;
        for (int k = 1; k <= 120; ++k) {
            double t = k * 0.125, r = 0.1 + 0.05 * t;
            double x = r * std::cos(t), y = r * std::sin(t);
            turns.push_back(segment(px, py, x, y, 0.1));
            px = x, py = y;
        }
        s.push_back({unite(turns), blue, {}});
    }
    s.push_back({unite(poly({{-0.16, -0.95},
                             {0.16, -0.95},
                             {0.22, -0.8},
                             {0.52, -0.6},
                             {0.62, 0},
                             {0.72, 0.42},
                             {0.94, 0.64},
                             {-0.94, 0.64},
                             {-0.72, 0.42},
                             {-0.62, 0},
                             {-0.52, -0.6},
                             {-0.22, -0.8}}),
                       circle(0, 0.8, 0.2)),
                 yellow,
                 {}});
    s.push_back({unite({poly({{-0.66, -0.8}, {0.66, -0.8}, {0.08, 0}, {0.66, 0.8}, {-0.66, 0.8}, {-0.08, 0}}),
                        box(0, -0.86, 0.84, 0.11, 0.04), box(0, 0.86, 0.84, 0.11, 0.04)}),
                 brown,
                 {{poly({{-0.4, 0.72}, {0.4, 0.72}, {0, 0.3}}), Colour{240, 210, 120}}}});
    s.push_back(
        {unite({subtract(intersect(circle(0, 0.08, 0.96), upperHalf(0.08)),
                         unite({circle(-0.64, 0.08, 0.33), circle(0, 0.08, 0.33), circle(0.64, 0.08, 0.33)})),
                segment(0, -0.1, 0, 0.72, 0.075),
                intersect(
                    [](double x, double y) { return std::abs(std::hypot(x - 0.2, y - 0.72) - 0.2) - 0.075; },
                    lowerHalf(0.72))}),
         magenta,
         {}});
    return s;
}

// The card's body: cream with a soft gradient, a thin dark edge and an inner line in the accent colour.
void paintCardBody(Picture& pic, Colour accent)
{
    paint(pic, cardBody, vertical(Colour{255, 252, 240}, Colour{232, 224, 204}, 0, cardH));
    paint(
        pic, [](double x, double y) { return std::abs(cardBody(x, y) + 0.7) - 0.7; }, Colour{70, 60, 55});
    Sdf inner = box(32, 30, 28, 26, 5);
    paint(
        pic, [&](double x, double y) { return std::abs(inner(x, y)) - 0.6; }, mix(accent, white, 0.25));
}

Picture cardFace(const Symbol& s)
{
    Picture pic(cardW, cardH);
    paintCardBody(pic, s.colour);
    const double scale = 19, cx = 32, cy = 30;
    Sdf shape = placed(s.shape, cx, cy, scale);
    paint(
        pic, [&](double x, double y) { return shape(x - 1.3, y - 1.7); }, black, 1.2, 0.22);
    paint(pic, shape, shade(s.colour, 0.32), 1.3);
    paint(pic, shape, [&](double, double y) {
        double t = std::clamp((y - (cy - scale)) / (2 * scale), 0.0, 1.0);
        return t < 0.5 ? mix(mix(s.colour, white, 0.4), s.colour, t * 2)
                       : mix(s.colour, shade(s.colour, 0.78), t * 2 - 1);
    });
    for (const Detail& d : s.details)
        paint(pic, placed(d.shape, cx, cy, scale), d.colour);
    return pic;
}

Picture cardBack()
{
    Picture pic(cardW, cardH);
    const Colour gold{245, 195, 60};
    paint(pic, cardBody, vertical(Colour{52, 78, 170}, Colour{26, 38, 105}, 0, cardH));
    Sdf inner = box(32, 30, 26.5, 24.5, 4);
    // A quiet diamond lattice inside the gold line.
    paint(pic,
          intersect(inner,
                    [](double x, double y) {
                        auto band = [](double v) { return std::abs(std::fmod(v + 800, 8.0) - 4); };
                        return std::min(band(x + y), band(x - y)) - 0.55;
                    }),
          Colour{80, 110, 205});
    paint(
        pic, [&](double x, double y) { return std::abs(inner(x, y)) - 0.8; }, gold);
    paint(
        pic, [](double x, double y) { return std::abs(cardBody(x, y) + 0.7) - 0.7; }, Colour{15, 20, 55});
    Sdf star = placed(polygon(starPoints(4, 1.0, 0.36, -90)), 32, 30, 14);
    paint(pic, circle(32, 30, 11), Colour{26, 38, 105});
    paint(pic, star, Colour{90, 50, 10}, 1.2);
    paint(pic, star, vertical(Colour{255, 240, 160}, Colour{230, 150, 30}, 16, 44));
    return pic;
}

// Cursor step k (0..3): a frame around the card with corner brackets; it grows brighter and the
// brackets longer with k, and the game plays the steps forwards and back, so the frame pulses.
Picture cursorStep(int k)
{
    Picture pic(cardW, cardH);
    const Colour colours[4] = {{230, 90, 0}, {250, 140, 0}, {255, 190, 20}, {255, 235, 70}};
    double thick = 3.5 + 0.5 * k, arm = 12 + 3 * k;
    Sdf frame = [=](double x, double y) { return std::max(cardBody(x, y), -cardBody(x, y) - thick); };
    Sdf brackets = [=](double x, double y) {
        double dx = std::min(x, cardW - x), dy = std::min(y, cardH - y);
        double nearCorner = std::max(dx - arm, dy - arm); // inside the arm × arm square at a corner
        return std::max(std::max(cardBody(x, y), -cardBody(x, y) - thick - 3), nearCorner);
    };
    Sdf all = unite(frame, brackets);
    paint(pic, all, Colour{60, 25, 0});
    paint(
        pic, [&](double x, double y) { return all(x, y) + 1; }, colours[k]);
    return pic;
}

// ---------------------------------------------------------------------------------------------
// Background and end pictures
// ---------------------------------------------------------------------------------------------

// A smooth value noise from a fixed integer hash, for the felt texture of the background.
double hashNoise(int x, int y)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double smoothNoise(double x, double y)
{
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    double fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = hashNoise(ix, iy), b = hashNoise(ix + 1, iy), c = hashNoise(ix, iy + 1),
           d = hashNoise(ix + 1, iy + 1);
    return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy;
}

// Dark green baize: a soft light in the middle, darker edges, a faint woven texture.
Picture background()
{
    Picture pic(320, 240);
    const Colour centre{36, 104, 78}, edge{12, 44, 38};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            double dx = (x + 0.5 - 160) / 200, dy = (y + 0.5 - 110) / 170;
            double light = std::clamp(1 - std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
            Colour c = mix(edge, centre, light * light * (3 - 2 * light));
            double grain = 0.5 * smoothNoise(x / 6.0, y / 6.0) + 0.3 * smoothNoise(x / 2.0, y / 2.0) +
                           0.2 * hashNoise(x, y);
            double weave = ((x + y) % 4 == 0 ? 0.015 : 0) - ((x - y + 400) % 4 == 0 ? 0.015 : 0);
            pic.blend(x, y, shade(c, 0.9 + 0.2 * grain + weave), 1);
        }
    return pic;
}

void paintSparkle(Picture& pic, double x, double y, double r, Colour c)
{
    Sdf star = placed(polygon(starPoints(4, 1.0, 0.3, -90)), x, y, r);
    paint(pic, star, shade(c, 0.4), 1);
    paint(pic, star, c);
}

// Level won: a gold rosette with ribbons and "WELL DONE".
Picture pictureWin()
{
    Picture pic(200, 200);
    paint(pic, polygon({{70, 120}, {100, 130}, {80, 196}, {66, 180}, {50, 190}}), Colour{200, 35, 45});
    paint(pic, polygon({{130, 120}, {100, 130}, {120, 196}, {134, 180}, {150, 190}}), Colour{40, 80, 200});
    Sdf rosette = [](double x, double y) {
        double a = std::atan2(y - 92, x - 100);
        return std::hypot(x - 100, y - 92) - (84 + 5 * std::cos(18 * a));
    };
    paint(pic, rosette, Colour{120, 70, 0}, 1.5);
    paint(pic, rosette, vertical(Colour{255, 230, 120}, Colour{220, 150, 20}, 5, 180));
    Sdf disc = circle(100, 92, 68);
    paint(pic, disc, Colour{255, 245, 200}, 3);
    paint(pic, disc, vertical(Colour{60, 175, 95}, Colour{20, 105, 55}, 24, 160));
    paintSparkle(pic, 100, 40, 11, Colour{255, 235, 120});
    paintSparkle(pic, 70, 48, 6, Colour{255, 235, 120});
    paintSparkle(pic, 130, 48, 6, Colour{255, 235, 120});
    paintText(pic, "WELL", 100, 62, 5, white, Colour{10, 60, 30});
    paintText(pic, "DONE", 100, 100, 5, white, Colour{10, 60, 30});
    paintSparkle(pic, 100, 144, 7, Colour{255, 235, 120});
    return pic;
}

// Level lost: a maroon tablet with a turn-back arrow and "TRY AGAIN".
Picture pictureLose()
{
    Picture pic(200, 200);
    Sdf tablet = box(100, 100, 92, 80, 18);
    paint(pic, tablet, Colour{40, 10, 15}, 1.5);
    paint(pic, tablet, Colour{240, 225, 210});
    paint(pic, box(100, 100, 86, 74, 14), vertical(Colour{170, 45, 55}, Colour{90, 15, 30}, 26, 174));
    // The turn-back arrow: most of a ring with a head at its end.
    Sdf ring = [](double x, double y) {
        double d = std::abs(std::hypot(x - 100, y - 62) - 20) - 5.5;
        return (x > 100 && y < 62) ? std::max(d, -std::min(x - 100, 62 - y) + 0.0) : d;
    };
    Sdf arrow = unite(intersect(ring, [](double x, double y) { return -std::max(x - 100, 62 - y); }),
                      polygon({{100, 29}, {116, 42}, {100, 55}}));
    paint(pic, arrow, Colour{60, 5, 15}, 2);
    paint(pic, arrow, Colour{255, 230, 200});
    paintText(pic, "TRY", 100, 96, 5, white, Colour{60, 5, 15});
    paintText(pic, "AGAIN", 100, 134, 5, white, Colour{60, 5, 15});
    return pic;
}

// Last level won: a trophy in a burst of rays and "ALL CLEAR!".
Picture pictureEnd()
{
    Picture pic(200, 200);
    Sdf burst = circle(100, 100, 97);
    paint(pic, burst, Colour{90, 40, 0}, 1.5);
    paint(pic, burst, [](double x, double y) {
        double a = std::atan2(y - 70, x - 100);
        bool ray = std::fmod(a + 4 * pi, pi / 8) < pi / 16;
        double t = std::hypot(x - 100, y - 100) / 97;
        Colour base = ray ? Colour{255, 205, 80} : Colour{250, 170, 40};
        return mix(base, Colour{200, 90, 20}, t * t);
    });
    const Colour cupDark{120, 70, 0};
    Sdf cup = unite({intersect(circle(100, 32, 40), lowerHalf(32)), box(100, 28, 40, 4),
                     [](double x, double y) { return std::abs(std::hypot(x - 62, y - 46) - 13) - 4; },
                     [](double x, double y) { return std::abs(std::hypot(x - 138, y - 46) - 13) - 4; },
                     box(100, 80, 6, 10), box(100, 95, 22, 6, 2), box(100, 104, 30, 5, 2)});
    paint(pic, cup, cupDark, 2);
    paint(pic, cup, [](double x, double y) {
        double t = std::clamp((x - 60) / 80, 0.0, 1.0);
        Colour c = mix(Colour{255, 245, 170}, Colour{215, 150, 20}, t);
        return y < 24 ? shade(c, 0.9) : c;
    });
    paintSparkle(pic, 100, 48, 9, white);
    paintSparkle(pic, 38, 30, 7, white);
    paintSparkle(pic, 162, 26, 6, white);
    paintText(pic, "ALL", 100, 118, 5, white, Colour{110, 20, 10});
    paintText(pic, "CLEAR!", 100, 152, 5, white, Colour{110, 20, 10});
    return pic;
}

// ---------------------------------------------------------------------------------------------
// Sounds: 16-bit mono PCM at 22050 Hz
// ---------------------------------------------------------------------------------------------

constexpr int rate = 22050;

void writeWav(const std::vector<double>& samples, const std::filesystem::path& path)
{
    std::vector<uint8_t> file;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.push_back(uint8_t(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { file.insert(file.end(), t, t + 4); };
    uint32_t dataSize = uint32_t(samples.size() * 2);
    tag("RIFF");
    put(36 + dataSize, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(rate, 4);
    put(rate * 2, 4); // bytes per second
    put(2, 2);        // block align
    put(16, 2);
    tag("data");
    put(dataSize, 4);
    for (double s : samples)
        put(uint16_t(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32000))), 2);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

// A bell-like tone: a few partials with an exponential decay and a 2 ms attack.
void addTone(std::vector<double>& out, double start, double length, double freq, double level, double decay)
{
    size_t first = size_t(start * rate), count = size_t(length * rate);
    if (out.size() < first + count) out.resize(first + count, 0.0);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / rate;
        double env = std::min(1.0, t / 0.002) * std::exp(-t * decay) * std::min(1.0, (length - t) / 0.01);
        double v = std::sin(2 * pi * freq * t) + 0.35 * std::sin(2 * pi * 2 * freq * t) +
                   0.12 * std::sin(2 * pi * 3.01 * freq * t);
        out[first + i] += level * env * v;
    }
}

// A short, dry tick: a high partial and a little hashed noise, gone in 35 ms.
std::vector<double> clickSound()
{
    std::vector<double> out(size_t(0.035 * rate));
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / rate;
        double noise = hashNoise(int(i), 7) * 2 - 1;
        out[i] = std::exp(-t * 180) * (0.6 * std::sin(2 * pi * 1900 * t) + 0.35 * noise);
    }
    return out;
}

// A low buzz that slides down from 180 Hz to 90 Hz.
std::vector<double> failSound()
{
    std::vector<double> out(size_t(0.42 * rate));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / rate, length = 0.42;
        double freq = 180 * std::pow(0.5, t / length);
        phase += freq / rate;
        double saw = 2 * (phase - std::floor(phase)) - 1;
        double square = phase - std::floor(phase) < 0.5 ? 1 : -1;
        double env = std::min(1.0, t / 0.01) * std::min(1.0, (length - t) / 0.08);
        out[i] = 0.5 * env * (0.6 * saw - 0.4 * square);
    }
    // A gentle one-pole low pass takes the edge off the buzz.
    double y = 0;
    for (double& s : out)
        s = y = y + 0.35 * (s - y);
    return out;
}

// Two bright bell notes a fifth apart.
std::vector<double> okSound()
{
    std::vector<double> out;
    addTone(out, 0.0, 0.35, 1318.5, 0.32, 9);  // E6
    addTone(out, 0.09, 0.45, 1975.5, 0.28, 8); // B6
    return out;
}

// A short fanfare: a rising arpeggio and a held major chord.
std::vector<double> winSound()
{
    std::vector<double> out;
    const double notes[] = {523.25, 659.25, 783.99}; // C5 E5 G5
    for (int k = 0; k < 3; ++k)
        addTone(out, 0.13 * k, 0.22, notes[k], 0.3, 6);
    for (double f : {523.25, 659.25, 783.99, 1046.5})
        addTone(out, 0.42, 0.9, f, 0.14, 3.2);
    return out;
}

std::string twoDigits(int n)
{
    char text[16];
    snprintf(text, sizeof text, "%02d", n);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    fs::path root = argv[1], images = root / "images", sounds = root / "sounds";
    fs::create_directories(images);
    fs::create_directories(sounds);

    writeBmp(smallFont(), root / "smalfont.bmp", fontKey);
    writeBmp(gameFont(), images / "myfont.bmp", fontKey);
    writeBmp(background(), images / "background.bmp");
    std::vector<Symbol> symbols = cardSymbols();
    if (symbols.size() != 40) {
        std::fprintf(stderr, "expected 40 card pictures, have %zu\n", symbols.size());
        return 1;
    }
    for (size_t k = 0; k < symbols.size(); ++k)
        writeBmp(cardFace(symbols[k]), images / ("pic" + twoDigits(int(k)) + ".bmp"));
    writeBmp(cardBack(), images / "usd.bmp");
    for (int k = 0; k < 4; ++k)
        writeBmp(cursorStep(k), images / ("csr" + std::to_string(k) + ".bmp"));
    writeBmp(pictureWin(), images / "picwin.bmp");
    writeBmp(pictureLose(), images / "piclose.bmp");
    writeBmp(pictureEnd(), images / "picend.bmp");

    writeWav(clickSound(), sounds / "click.wav");
    writeWav(failSound(), sounds / "fail.wav");
    writeWav(okSound(), sounds / "ok.wav");
    writeWav(winSound(), sounds / "win.wav");
    return 0;
}
