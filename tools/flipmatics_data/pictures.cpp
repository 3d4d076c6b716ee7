#include "pictures.h"

#include "lettering.h"
#include "noise.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace flipdata {
namespace {

void paintSparkle(Picture& pic, double x, double y, double r, Colour c)
{
    Sdf star = placed(polygon(starPoints(4, 1.0, 0.3, -90)), x, y, r);
    paint(pic, star, shade(c, 0.4), 1);
    paint(pic, star, c);
}

} // namespace

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

} // namespace flipdata
