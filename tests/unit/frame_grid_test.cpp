// The frame limiter's grid, run against a clock the test controls.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cmath>
#include <thread>
#include <vector>

#include "runtime/core/frame_grid.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/event_wait.h"

using namespace rt;

namespace {

// A clock that reads a scripted series of times, then stays on the last one.
std::vector<double> clockReadings;
size_t clockIndex = 0;
double scriptedClock()
{
    double value = clockReadings[std::min(clockIndex, clockReadings.size() - 1)];
    ++clockIndex;
    return value;
}

int pendingEvents = 0;
int dispatchedEvents = 0;
bool dispatchScripted()
{
    if (pendingEvents == 0) return false;
    --pendingEvents;
    ++dispatchedEvents;
    return true;
}

std::vector<double> sleeps;
void recordSleep(double milliseconds)
{
    sleeps.push_back(milliseconds);
}

void script(std::vector<double> readings, int events = 0)
{
    clockReadings = std::move(readings);
    clockIndex = 0;
    pendingEvents = events;
    dispatchedEvents = 0;
    sleeps.clear();
}

} // namespace

TEST(FrameGrid, IntervalFollowsTheRateWithTwoMillisecondsForNoRate)
{
    EXPECT_DOUBLE_EQ(frameIntervalFor(60), 1000.0 / 60);
    EXPECT_DOUBLE_EQ(frameIntervalFor(0), 2.0);
    EXPECT_DOUBLE_EQ(frameIntervalFor(-5), 2.0);
    EXPECT_DOUBLE_EQ(frameIntervalFor(59), 1000.0 / 59); // 59.9 arrives truncated
}

TEST(FrameGrid, LatePresentSkipsMissedFramesAndKeepsThePhase)
{
    const double interval = 1000.0 / 60;
    FrameGrid grid{2 * interval, interval}; // deadline 33.33 ms
    script({57, 57});
    double waited = waitForFrame(grid, scriptedClock, dispatchScripted, recordSleep);
    EXPECT_DOUBLE_EQ(waited, 1);                    // nothing to wait for
    EXPECT_NEAR(grid.deadline, 4 * interval, 1e-9); // 50 is past: 66.67

    script({62, 63, 64, 66.6, 66.7});
    waitForFrame(grid, scriptedClock, dispatchScripted, recordSleep);
    EXPECT_EQ(clockIndex, 5u); // waited until the clock passed 66.67
    EXPECT_NEAR(grid.deadline, 5 * interval, 1e-9);
}

TEST(FrameGrid, WaitDispatchesEventsAndReturnsWaitPlusOne)
{
    FrameGrid grid{20, 10};
    script({12, 15, 19, 21}, 3);
    double waited = waitForFrame(grid, scriptedClock, dispatchScripted, recordSleep);
    EXPECT_EQ(dispatchedEvents, 3);
    EXPECT_DOUBLE_EQ(waited, 21 - 12 + 1);
    EXPECT_DOUBLE_EQ(grid.deadline, 30);
}

TEST(FrameGrid, WaitSleepsUntilShortlyBeforeTheDeadlineAndSpinsTheLastStretch)
{
    FrameGrid grid{20, 10};
    script({10, 10, 16, 18.5, 19.8, 20.1}); // the first reading is the start; sleeps may end early
    waitForFrame(grid, scriptedClock, dispatchScripted, recordSleep);
    // Each sleep ends frameSpinMs (0.5 ms) before the deadline; 19.8 is inside that and is spun through.
    std::vector<double> expected{9.5, 3.5, 1.0};
    ASSERT_EQ(sleeps.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(sleeps[i], expected[i], 1e-9);
    EXPECT_EQ(clockIndex, 6u);
    EXPECT_DOUBLE_EQ(grid.deadline, 30);
}

TEST(FrameGrid, DeadlineExactlyNowIsStillAhead)
{
    // The wait ends only once the clock is past the deadline; a new deadline equal to now is kept.
    EXPECT_DOUBLE_EQ(nextFrameDeadline(10, 10, 20), 20);
    EXPECT_DOUBLE_EQ(nextFrameDeadline(10, 10, 20.5), 30);
}

TEST(FrameGrid, LongStallLandsOnTheFirstGridPointAfterNow)
{
    const double interval = 1000.0 / 60;
    double now = 3600.0 * 1000 + 5; // an hour paused
    double deadline = nextFrameDeadline(0, interval, now);
    EXPECT_GE(deadline, now);
    EXPECT_LT(deadline - interval, now);
    double steps = deadline / interval;
    EXPECT_NEAR(steps, std::round(steps), 1e-6); // still on the grid
}

TEST(FrameGrid, TinyIntervalAfterLongStallDoesNotSpinForEver)
{
    double deadline = nextFrameDeadline(0, 1e-6, 1e6);
    EXPECT_GE(deadline, 1e6);
    EXPECT_LT(deadline, 1e6 + 1e-3);
}

TEST(FrameWaitSleep, WakesWhenTheDescriptorIsReadableAndRefusesNone)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    double start = nowMs();
    EXPECT_TRUE(sleepUntilReadable(ends[0], 20));
    EXPECT_GE(nowMs() - start, 19.0); // nothing to read: the whole time
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    start = nowMs();
    EXPECT_TRUE(sleepUntilReadable(ends[0], 5000));
    EXPECT_LT(nowMs() - start, 1000.0); // readable: at once
    EXPECT_FALSE(sleepUntilReadable(-1, 20));
    close(ends[0]);
    close(ends[1]);
}

// The waiting thread's scheduling request changes only its own time slice: a nice value the player
// gave the game stays, and threads it starts afterwards get the system's default slice.
TEST(FrameWaitSleep, ShortSlicesKeepTheNiceValueAndAreNotInherited)
{
    std::thread([] {
        pid_t self = pid_t(syscall(SYS_gettid));
        ASSERT_EQ(setpriority(PRIO_PROCESS, id_t(self), 5), 0);
        wakeSleepsOnTime();
        EXPECT_EQ(getpriority(PRIO_PROCESS, id_t(self)), 5);
        SchedulingAttributes own{}, child{};
        ASSERT_EQ(syscall(SYS_sched_getattr, 0, &own, sizeof own, 0), 0);
        std::thread([&child] { syscall(SYS_sched_getattr, 0, &child, sizeof child, 0); }).join();
        if (own.runtime == 0) GTEST_SKIP() << "this kernel ignores time slice requests";
        EXPECT_LT(own.runtime, 1'000'000u);
        EXPECT_NE(child.runtime, own.runtime);
        EXPECT_EQ(child.nice, 5);
    }).join();
}
