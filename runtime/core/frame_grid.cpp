// The frame grid rule and the limiter's wait.
#include "runtime/core/frame_grid.h"

#include <cmath>

using namespace rt;

namespace rt {

double frameIntervalFor(int framesPerSecond)
{
    return framesPerSecond <= 0 ? 2.0 : 1000.0 / framesPerSecond;
}

double nextFrameDeadline(double deadline, double interval, double now)
{
    deadline += interval;
    if (!(interval > 0)) return deadline;
    // Far behind (a long pause): jump close to `now` in one step; the loop below then settles on
    // the first grid point that is not before `now`, as stepping one interval at a time would.
    if (now - deadline > 64 * interval) {
        double steps = std::floor((now - deadline) / interval) - 2;
        deadline += steps * interval;
    }
    while (deadline < now)
        deadline += interval;
    return deadline;
}

double waitForFrame(FrameGrid& grid, double (*clock)(), bool (*dispatchOne)(), void (*sleep)(double))
{
    double start = clock();
    double now;
    for (;;) {
        if (dispatchOne()) continue;
        now = clock();
        if (now > grid.deadline) break;
        double sleepable = grid.deadline - now - frameSpinMs;
        if (sleepable > 0) sleep(sleepable);
    }
    grid.deadline = nextFrameDeadline(grid.deadline, grid.interval, now);
    return now - start + 1;
}

} // namespace rt
