#include "cards.h"

#include <algorithm>
#include <cmath>

namespace flipdata {
namespace {

const Sdf cardBody = box(32, 30, 31.5, 29.5, 7);

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

} // namespace

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

} // namespace flipdata
