// Shapes as signed distance functions (negative inside, in pixels or in symbol units) and painting them
// into a picture with antialiased edges.
#pragma once

#include "picture.h"

#include <functional>
#include <vector>

namespace flipdata {

using Sdf = std::function<double(double x, double y)>;
using ColourAt = std::function<Colour(double x, double y)>;

struct Point
{
    double x, y;
};

Sdf circle(double cx, double cy, double r);
// Box with half sizes hw, hh and corner radius round.
Sdf box(double cx, double cy, double hw, double hh, double round = 0);
Sdf segment(double ax, double ay, double bx, double by, double radius);
Sdf polygon(std::vector<Point> v);

// Corner lists for polygon: a regular n-gon, an n-pointed star, a 48-point ellipse turned by degrees.
std::vector<Point> regular(int n, double r, double startDegrees);
std::vector<Point> starPoints(int n, double outer, double inner, double startDegrees);
std::vector<Point> ellipse(double cx, double cy, double rx, double ry, double degrees);
// The classic heart curve, about 1.9 wide and 1.8 high, centred; flip turns it upside down.
std::vector<Point> heartPoints(double scale, double dy, bool flip);

Sdf unite(Sdf a, Sdf b);
Sdf unite(std::vector<Sdf> parts);
Sdf subtract(Sdf a, Sdf b);
Sdf intersect(Sdf a, Sdf b);
Sdf rotated(Sdf a, double degrees);
// Half-planes for cutting shapes: everything below (larger y) or above the line y = y0.
Sdf lowerHalf(double y0);
Sdf upperHalf(double y0);
// A shape in symbol units (about -1..1) placed with its centre at (cx, cy) and scaled to pixels.
Sdf placed(Sdf unit, double cx, double cy, double scale);

// Paints the shape (grown by `grow` pixels) with antialiased edges.
void paint(Picture& pic, const Sdf& shape, const ColourAt& colour, double grow = 0, double opacity = 1);
void paint(Picture& pic, const Sdf& shape, Colour c, double grow = 0, double opacity = 1);

// A colour that runs from top at y0 to bottom at y1.
ColourAt vertical(Colour top, Colour bottom, double y0, double y1);

} // namespace flipdata
