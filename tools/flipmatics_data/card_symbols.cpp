#include "cards.h"

#include <cmath>

namespace flipdata {
namespace {

const Colour red{215, 40, 45}, orange{240, 130, 20}, yellow{245, 200, 30}, lime{125, 195, 40},
    green{35, 150, 70}, teal{20, 160, 165}, sky{60, 150, 230}, blue{45, 75, 205}, purple{135, 70, 200},
    magenta{215, 60, 165}, pink{245, 120, 170}, brown{150, 90, 45}, slate{60, 70, 95};

} // namespace

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

} // namespace flipdata
