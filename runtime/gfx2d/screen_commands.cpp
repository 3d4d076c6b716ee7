// Commands on the game screen: size and screen mode.
#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"

using namespace rt;

void rtScreenSize(double& width, double& height)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) {
        width = height = 0;
        return;
    }
    width = renderer->screenWidth;
    height = renderer->screenHeight;
}

double rtSetScreenMode(double width, double height, double fullscreen)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return renderer->setScreenMode(toInt(width), toInt(height), 0, fullscreen != 0);
}

double rtIsFullscreen()
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return 0;
    return renderer->isFullscreen() ? 1 : 0;
}
