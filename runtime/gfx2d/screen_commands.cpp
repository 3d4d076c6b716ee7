// Commands on the game screen: size, viewport and screen mode.
#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

using namespace rt;

void rtScreenSize(double& width, double& height)
{
    width = engine.renderer->screenWidth;
    height = engine.renderer->screenHeight;
}

void rtSetViewport(double x, double y, double width, double height)
{
    // A pending 3D shadow pass is ended here once the 3D scene exists.
    engine.renderer->setup2D(toInt(x), toInt(y), toInt(width), toInt(height));
}

double rtSetScreenMode(double width, double height, double fullscreen)
{
    return engine.renderer->setScreenMode(toInt(width), toInt(height), 0, fullscreen != 0);
}

double rtIsFullscreen()
{
    return engine.renderer->fullscreen ? 1 : 0;
}
