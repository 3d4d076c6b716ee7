// Frame pacing: a game loop that works 5 ms per frame at 60 frames per second for 600 frames, once on
// its own and once with two threads that keep both cores of a two-core machine busy. Prints for each
// the mean interval between frames, frames skipped, the median and 99th percentile of how far each
// frame lands from the 16.667 ms grid and how many land over 1 ms from it, the processor time each
// frame costs beyond the game's work (the limiter's wait included, the busy threads left out), the
// time each frame spends outside the limiter's wait, and how many allocations happen per frame (C++
// allocations, and every malloc in the process, GL driver and X11 included). Needs a display:
//   xvfb-run -a build/bench/frame_pacing_bench
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <pthread.h>
#include <thread>
#include <time.h>
#include <vector>

#include "runtime/core/engine_state.h"
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
void operator delete(void* block) noexcept
{
    free(block);
}
void operator delete(void* block, size_t) noexcept
{
    free(block);
}

constexpr int frames = 600;
constexpr double workMs = 5;

static double cpuMs(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The game's work: the processor time it takes is counted in workCpuMs.
static double workCpuMs = 0;
static void spin(double milliseconds)
{
    double cpuStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    double end = nowMs() + milliseconds;
    while (nowMs() < end) {
    }
    workCpuMs += cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
}

// Threads that compete for the processor cores as long as they run.
class BusyThreads
{
  public:
    explicit BusyThreads(int count)
    {
        for (int i = 0; i < count; ++i)
            threads.emplace_back([this] {
                while (!stop) {
                }
            });
    }
    ~BusyThreads()
    {
        stop = true;
        for (std::thread& thread : threads)
            thread.join();
    }
    double cpuMsSoFar()
    {
        double total = 0;
        for (std::thread& thread : threads) {
            clockid_t clock;
            if (pthread_getcpuclockid(thread.native_handle(), &clock) == 0) total += cpuMs(clock);
        }
        return total;
    }

  private:
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
};

static void measure(const char* title, int busyThreads)
{
    static double returns[frames + 1];
    static double gridPoints[frames + 1]; // the grid point each frame was shown at
    static double outsideWait[frames];
    BusyThreads busy(busyThreads);
    for (int i = 0; i < 30; ++i)
        rtShowFrame(); // settle
    long mallocBefore = mallocCalls, newBefore = newCalls;
    workCpuMs = 0;
    double processStart = cpuMs(CLOCK_PROCESS_CPUTIME_ID), busyStart = busy.cpuMsSoFar();
    returns[0] = nowMs();
    for (int i = 0; i < frames; ++i) {
        spin(workMs);
        double callStart = nowMs();
        rtShowFrame();
        returns[i + 1] = nowMs();
        gridPoints[i + 1] = engine.frameGrid.deadline - engine.frameGrid.interval;
        outsideWait[i] = returns[i + 1] - callStart - engine.lastFrameWaitMs;
    }
    double frameCpu =
        (cpuMs(CLOCK_PROCESS_CPUTIME_ID) - processStart - (busy.cpuMsSoFar() - busyStart) - workCpuMs) /
        frames;
    long mallocPerFrame = mallocCalls - mallocBefore, newPerFrame = newCalls - newBefore;

    const double interval = 1000.0 / 60;
    std::vector<double> deviations;
    double meanInterval = (returns[frames] - returns[0]) / frames;
    int skipped = 0;
    for (int i = 1; i <= frames; ++i) {
        deviations.push_back(returns[i] - gridPoints[i]);
        skipped += int(std::round((returns[i] - returns[i - 1]) / interval)) - 1;
    }
    std::sort(deviations.begin(), deviations.end());
    long lateFrames = std::count_if(deviations.begin(), deviations.end(), [](double d) { return d > 1; });
    std::sort(outsideWait, outsideWait + frames);
    double outsideMean = 0;
    for (double value : outsideWait)
        outsideMean += value / frames;
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    printf("%s (load average %.2f)\n", title, load[0]);
    printf("  frames                         %d at 60 fps, %.0f ms of game work each\n", frames, workMs);
    printf("  mean frame interval            %.4f ms (grid %.4f ms), %d frames skipped\n", meanInterval,
           interval, skipped);
    printf("  deviation from grid, median    %.4f ms\n", deviations[frames / 2]);
    printf("  deviation from grid, 99th pct  %.4f ms\n", deviations[frames * 99 / 100]);
    printf("  frames over 1 ms off the grid  %ld\n", lateFrames);
    printf("  processor time per frame       %.3f ms beyond the game's work\n", frameCpu);
    printf("  rtShowFrame outside the wait   mean %.4f ms, 99th pct %.4f ms\n", outsideMean,
           outsideWait[frames * 99 / 100]);
    printf("  C++ allocations per frame      %.3f\n", double(newPerFrame) / frames);
    printf("  all mallocs per frame          %.3f (process-wide, GL driver and X11 included)\n",
           double(mallocPerFrame) / frames);
}

static void benchMain()
{
    measure("on its own", 0);
    measure("with two busy threads", 2);
    rtEnd();
}

int main(int argc, char** argv)
{
    GameSettings settings;
    settings.fullScreen = false;
    rtRunGame(argc, argv, settings, benchMain);
}
