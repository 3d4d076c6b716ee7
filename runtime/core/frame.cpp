// rtShowFrame, the engine's heartbeat, and the frame timers.
#include <SDL.h>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/window_proc.h"
#include "runtime/gfx2d/backgrounds.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/input/input.h"
#include "runtime/input/key_codes.h"
#include "runtime/media/media.h"
#include "runtime/platform/clock.h"
#include "runtime/runtime.h"

// This frame's input: fresh key states and a new mouse frame; Escape (when it ends the game) and
// Left Alt + F4 end the program.
static void pollInput()
{
    InputContext& input = *engine.inputSystem;
    input.refreshKeyboard();
    input.markNewFrame();
    if (engine.escapeEnds && input.keyDown(rtKeyEscape)) rtEnd();
    if (input.keyDown(rtKeyLeftAlt) && input.keyDown(rtKeyF4)) rtEnd();
}

void rtShowFrame()
{
    engine.previousFrameStart = engine.frameStart;
    engine.frameStart = nowMs();
    rt::repeatMusicAtItsEnd();
    rtWaitWhilePaused();
    pollInput();
    rt::endScene3DShadowPass();
    double waited = engine.renderer->rtPresent();
    if (waited == 0) {
        rtSetEndCode(0);
        rtFatalEnd();
    }
    // A fresh frame: blending off, full intensity and white, the whole screen as viewport.
    glEnable(GL_BLEND);
    glDisable(GL_BLEND);
    engine.renderer->intensity = 1.0f;
    glColor4f(1, 1, 1, 1);
    drawBackgroundPicture(*engine.renderer, 0);
    engine.renderer->setup2D(0, 0, 0, 0);
    rt::resetScene3DForFrame();
}

void rtSetFrameRate(double framesPerSecond)
{
    engine.renderer->frameGrid.interval = frameIntervalFor(toInt(framesPerSecond));
}

double rtFrameDuration()
{
    double duration = nowMs() - engine.previousFrameStart;
    return duration <= 0 ? 1 : duration;
}

double rtElapsedTime()
{
    return nowMs() - engine.startTime;
}

void rtSetEscapeEnds(double ends)
{
    engine.escapeEnds = ends != 0 || std::isnan(ends);
}
