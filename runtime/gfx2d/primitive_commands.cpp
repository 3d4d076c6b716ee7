// The primitive commands: clearing, blending, points, lines, rectangles, pixels and polygons.
#include <algorithm>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/primitives.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

using namespace rt;

void rtClearScreen()
{
    freeBackgroundPicture(*engine.renderer, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void rtSetAlphaMode(double a)
{
    setAlphaMode(*engine.renderer, float(a));
}

void rtDrawPixel(double x, double y, double colour)
{
    drawPoint(*engine.renderer, float(x), float(y), toInt(colour));
}

void rtDrawLine(double x1, double y1, double x2, double y2, double colour)
{
    drawLine(*engine.renderer, float(x1), float(y1), float(x2), float(y2), toInt(colour));
}

void rtDrawRect(double x1, double y1, double x2, double y2, double colour)
{
    fillRect(*engine.renderer, float(std::min(x1, x2)), float(std::min(y1, y2)), float(std::max(x1, x2)),
             float(std::max(y1, y2)), toInt(colour));
}

double rtReadPixel(double x, double y)
{
    return readPixel(*engine.renderer, toInt(x), toInt(y));
}

void rtBeginPolygon(double slot)
{
    beginPolygon(toInt(slot));
}

void rtPolygonVertex(double x, double y, double s, double t, double colour)
{
    addPolygonVertex(*engine.renderer, float(toInt(x)), float(toInt(y)), float(s), float(t), toInt(colour));
}

void rtEndPolygon()
{
    drawPolygon(*engine.renderer);
}
