// Pictures as the generator draws them: premultiplied colour and coverage per pixel.
#pragma once

#include <cstddef>
#include <vector>

namespace flipdata {

constexpr double pi = 3.14159265358979323846;

struct Colour
{
    double r, g, b; // 0..255
};

inline Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Colour shade(Colour c, double f)
{
    return {c.r * f, c.g * f, c.b * f};
}

inline constexpr Colour white{255, 255, 255};
inline constexpr Colour black{0, 0, 0};

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

} // namespace flipdata
