// rtShowFrame, the engine's heartbeat, and the frame timers.
#include <cmath>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/window_proc.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/gfx2d/renderer_lifecycle.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/input/input_lifecycle.h"
#include "runtime/media/media.h"
#include "runtime/platform/clock.h"
#include "runtime/runtime.h"

using namespace rt;

void rtShowFrame()
{
    if (!startedRenderer(__func__)) return;
    engine.previousFrameStart = engine.frameStart;
    engine.frameStart = nowMs();
    repeatMusicAtItsEnd();
    rtWaitWhilePaused();
    pollInputForFrame();
    endScene3DShadowPass();
    double waited = engine.renderer->rtPresent();
    if (waited == 0) {
        rtSetEndCode(0);
        rtFatalEnd();
    }
    beginNextFrame2D();
    resetScene3DForFrame();
}

void rtSetFrameRate(double framesPerSecond)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    renderer->frameGrid.interval = frameIntervalFor(toInt(framesPerSecond));
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
