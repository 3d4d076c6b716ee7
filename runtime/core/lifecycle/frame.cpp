// rtShowFrame, the engine's heartbeat, the viewport and the frame timers.
#include <cmath>

#include "runtime/core/end.h"
#include "runtime/core/engine_state.h"
#include "runtime/core/lifecycle/frame_wait.h"
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
    engine.renderer->present();
    double waited = waitForNextFrame();
    if (waited == 0) {
        rtSetEndCode(0);
        rtFatalEnd();
    }
    beginNextFrame2D();
    resetScene3DForFrame();
}

// Here rather than with the other screen commands: a new viewport also ends a pending 3D shadow pass,
// so that what is drawn next is seen, and only this layer knows both the 2D and the 3D state.
void rtSetViewport(double x, double y, double width, double height)
{
    OpenGLRainbows* renderer = startedRenderer(__func__);
    if (!renderer) return;
    endScene3DShadowPass();
    renderer->setup2D(toInt(x), toInt(y), toInt(width), toInt(height));
}

void rtSetFrameRate(double framesPerSecond)
{
    if (!startedRenderer(__func__)) return;
    engine.frameGrid.interval = frameIntervalFor(toInt(framesPerSecond));
}

double rtFrameDuration()
{
    // At least 1: the clock has sub-millisecond steps, and a game dividing by the duration must never
    // see a fraction of a millisecond right after start-up or rtShowFrame.
    double duration = nowMs() - engine.previousFrameStart;
    return duration < 1 ? 1 : duration;
}

double rtElapsedTime()
{
    return nowMs() - engine.startTime;
}

void rtSetEscapeEnds(double ends)
{
    engine.escapeEnds = ends != 0 || std::isnan(ends);
}
