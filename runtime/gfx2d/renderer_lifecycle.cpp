// Start, per-frame duties and release of the renderer.
#include "runtime/gfx2d/renderer_lifecycle.h"

#include "runtime/core/engine_state.h"
#include "runtime/core/not_started.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/renderer.h"

using namespace rt;

namespace rt {

bool startRenderer()
{
    engine.renderer = new OpenGLRainbows;
    return engine.renderer->createContext(engine.window, engine.screenWidth, engine.screenHeight, 0) != 0;
}

void enterStartScreenMode()
{
    if (!engine.renderer) return;
    if (engine.fullScreen)
        engine.renderer->goFullscreen();
    else
        engine.renderer->goWindowed();
}

void hideWindowForDialog()
{
    if (engine.renderer) engine.renderer->hideWindow();
}

void beginNextFrame2D()
{
    glEnable(GL_BLEND);
    glDisable(GL_BLEND);
    engine.renderer->intensity = 1.0f;
    engine.renderer->setColourToIntensity();
    drawBackgroundPicture(*engine.renderer, 0);
    engine.renderer->setup2D(0, 0, 0, 0);
}

OpenGLRainbows* startedRenderer(const char* command)
{
    if (!engine.renderer) reportCalledBeforeStart(command);
    return engine.renderer;
}

void releaseRenderer()
{
    // Taken from the record first: an end asked for while it goes finds nothing left to release.
    OpenGLRainbows* renderer = engine.renderer;
    engine.renderer = nullptr;
    delete renderer;
}

} // namespace rt
