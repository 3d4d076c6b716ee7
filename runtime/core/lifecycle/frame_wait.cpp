// The wait for the next point of the frame grid.
#include "runtime/core/lifecycle/frame_wait.h"

#include <algorithm>

#include "runtime/core/engine_state.h"
#include "runtime/core/frame_grid.h"
#include "runtime/core/window_events.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/event_wait.h"

using namespace rt;

namespace rt {

// Where the window's events arrive, so that the wait can sleep through the frame and still wake for
// them at once; -1 when the window system offers nothing to wait on.
static int eventDescriptor = -1;

// Without a descriptor the wait sleeps in steps this short, looking for window events in between.
constexpr double sleepStepMs = 2.0;

static void sleepOrWakeForEvents(double milliseconds)
{
    if (!sleepUntilReadable(eventDescriptor, milliseconds)) sleepMs(std::min(milliseconds, sleepStepMs));
}

void startFrameGrid()
{
    engine.frameGrid.interval = frameIntervalFor(engine.frameRate);
    engine.frameGrid.deadline = nowMs();
    eventDescriptor = windowEventDescriptor(engine.window);
    wakeSleepsOnTime();
}

double waitForNextFrame()
{
    double waited = waitForFrame(engine.frameGrid, nowMs, rtDispatchOneMessage, sleepOrWakeForEvents);
    engine.lastFrameWaitMs = waited - 1;
    return waited;
}

} // namespace rt
