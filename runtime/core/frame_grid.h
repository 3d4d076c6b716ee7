// The frame limiter's grid: frames are shown at deadline, deadline + interval, ... A late frame skips
// the grid points already past instead of catching up, so the grid keeps its phase.
#pragma once

namespace rt {

struct FrameGrid
{
    double deadline = 0;           // ms of nowMs() at which the next frame may be shown
    double interval = 1000.0 / 60; // ms per frame
};

// 1000 / rate, or 2 ms (at most 500 frames per second) for a rate of 0 or below.
double frameIntervalFor(int framesPerSecond);

// The grid point after `deadline` that is not before `now`.
double nextFrameDeadline(double deadline, double interval, double now);

// How the wait ends: it sleeps until spinMs before the deadline, waking for window events, and spins
// on the clock only for the last stretch, which a sleep might overshoot. A spinning wait hits the grid
// as well but burns a processor core, and on a busy machine it loses the core to other work and the
// grid with it. A sleep here (with the timer slack the wait asks for) overshoots by 0.05 ms typically
// and now and then by up to 0.5 ms on an idle virtual machine, so the spin covers that and no more.
constexpr double frameSpinMs = 0.5;

// Waits until clock() passes the deadline, handing every waiting window event to dispatchOne()
// (which returns false when there is none) and calling sleep() with the time left to sleep as said
// above (it may return early), then advances the grid. Returns the milliseconds spent waiting plus 1,
// never 0.
double waitForFrame(FrameGrid& grid, double (*clock)(), bool (*dispatchOne)(), void (*sleep)(double));

} // namespace rt
