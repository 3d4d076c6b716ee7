#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace flipdata {

Sdf circle(double cx, double cy, double r)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf box(double cx, double cy, double hw, double hh, double round)
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
Sdf lowerHalf(double y0)
{
    return [=](double, double y) { return y0 - y; };
}
Sdf upperHalf(double y0)
{
    return [=](double, double y) { return y - y0; };
}
Sdf placed(Sdf unit, double cx, double cy, double scale)
{
    return [=](double x, double y) { return unit((x - cx) / scale, (y - cy) / scale) * scale; };
}

void paint(Picture& pic, const Sdf& shape, const ColourAt& colour, double grow, double opacity)
{
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double a = std::clamp(0.5 - (shape(px, py) - grow), 0.0, 1.0) * opacity;
            if (a > 0) pic.blend(x, y, colour(px, py), a);
        }
}

void paint(Picture& pic, const Sdf& shape, Colour c, double grow, double opacity)
{
    paint(
        pic, shape, [c](double, double) { return c; }, grow, opacity);
}

ColourAt vertical(Colour top, Colour bottom, double y0, double y1)
{
    return [=](double, double y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}

} // namespace flipdata
