// Frame pacing: a game loop that works 5 ms per frame at 60 frames per second for 600 frames.
// Prints the mean interval between frames, the 99th percentile of how far each frame lands from the
// 16.667 ms grid, the time each frame spends outside the limiter's wait (game work excluded), and
// how many allocations happen per frame (C++ allocations, and every malloc in the process, GL driver
// and X11 included). Needs a display:  xvfb-run -a build/bench/frame_pacing_bench
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "runtime/core/engine_state.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/platform/clock.h"
#include "runtime/runtime.h"

using namespace rt;

// Counting every allocation of the process.
static std::atomic<long> mallocCalls{0};
static std::atomic<long> newCalls{0};
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* malloc(size_t size)
{
    ++mallocCalls;
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size)
{
    ++mallocCalls;
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, size_t size)
{
    ++mallocCalls;
    return __libc_realloc(block, size);
}
void* operator new(size_t size)
{
    ++newCalls;
    if (void* block = malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }

constexpr int frames = 600;
constexpr double workMs = 5;

static void spin(double milliseconds)
{
    double end = nowMs() + milliseconds;
    while (nowMs() < end) {
    }
}

static void benchMain()
{
    static double returns[frames + 1];
    static double outsideWait[frames];
    for (int i = 0; i < 30; ++i) rtShowFrame(); // settle
    long mallocBefore = mallocCalls, newBefore = newCalls;
    returns[0] = nowMs();
    for (int i = 0; i < frames; ++i) {
        spin(workMs);
        double callStart = nowMs();
        rtShowFrame();
        returns[i + 1] = nowMs();
        outsideWait[i] = returns[i + 1] - callStart - engine.renderer->lastWaitMs;
    }
    long mallocPerFrame = mallocCalls - mallocBefore, newPerFrame = newCalls - newBefore;

    const double interval = 1000.0 / 60;
    std::vector<double> deviations;
    double meanInterval = (returns[frames] - returns[0]) / frames;
    for (int i = 1; i <= frames; ++i) {
        double sinceStart = returns[i] - returns[0];
        deviations.push_back(std::fabs(sinceStart - std::round(sinceStart / interval) * interval));
    }
    std::sort(deviations.begin(), deviations.end());
    std::sort(outsideWait, outsideWait + frames);
    double outsideMean = 0;
    for (double value : outsideWait) outsideMean += value / frames;
    printf("frames                         %d at 60 fps, %.0f ms of game work each\n", frames, workMs);
    printf("mean frame interval            %.4f ms (grid %.4f ms)\n", meanInterval, interval);
    printf("deviation from grid, median    %.4f ms\n", deviations[frames / 2]);
    printf("deviation from grid, 99th pct  %.4f ms\n", deviations[frames * 99 / 100]);
    printf("rtShowFrame outside the wait   mean %.4f ms, 99th pct %.4f ms\n", outsideMean,
           outsideWait[frames * 99 / 100]);
    printf("C++ allocations per frame      %.3f\n", double(newPerFrame) / frames);
    printf("all mallocs per frame          %.3f (process-wide, GL driver and X11 included)\n",
           double(mallocPerFrame) / frames);
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, benchMain);
}
