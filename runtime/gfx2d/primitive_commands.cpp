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
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    freeBackgroundPicture(*renderer, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void rtSetAlphaMode(double a)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    setAlphaMode(*renderer, float(a));
}

void rtDrawPixel(double x, double y, double colour)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawPoint(*renderer, float(x), float(y), toInt(colour));
}

void rtDrawLine(double x1, double y1, double x2, double y2, double colour)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawLine(*renderer, float(x1), float(y1), float(x2), float(y2), toInt(colour));
}

void rtDrawRect(double x1, double y1, double x2, double y2, double colour)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    fillRect(*renderer, float(std::min(x1, x2)), float(std::min(y1, y2)), float(std::max(x1, x2)),
             float(std::max(y1, y2)), toInt(colour));
}

double rtReadPixel(double x, double y)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return readPixel(*renderer, toInt(x), toInt(y));
}

void rtBeginPolygon(double slot)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    beginPolygon(*renderer, toInt(slot));
}

void rtPolygonVertex(double x, double y, double s, double t, double colour)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    addPolygonVertex(*renderer, float(toInt(x)), float(toInt(y)), float(s), float(t), toInt(colour));
}

void rtEndPolygon()
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    drawPolygon(*renderer);
}
