// The wait for the next point of the frame grid.
#include "runtime/core/lifecycle/frame_wait.h"

#include "runtime/core/engine_state.h"
#include "runtime/core/frame_grid.h"
#include "runtime/core/window_events.h"
#include "runtime/platform/clock.h"

using namespace rt;

namespace rt {

void startFrameGrid()
{
    engine.frameGrid.interval = frameIntervalFor(engine.frameRate);
    engine.frameGrid.deadline = nowMs();
}

double waitForNextFrame()
{
    double waited = waitForFrame(engine.frameGrid, nowMs, rtDispatchOneMessage, sleepMs);
    engine.lastFrameWaitMs = waited - 1;
    return waited;
}

} // namespace rt
