// Sleeping until a deadline or until the window system has something to say, whichever comes first.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace rt {

// The descriptor the window's events arrive on (its X connection), or -1 when there is none to wait on.
int windowEventDescriptor(SDL_Window* window);

// Sleeps about `milliseconds`, waking early when `descriptor` becomes readable. Returns false, without
// sleeping, for a descriptor of -1 or a wait the system refuses.
bool sleepUntilReadable(int descriptor, double milliseconds);

// Lets the calling thread's timed sleeps wake as close to their time as the system can: not grouped
// with other wake-ups (which may add 50 µs or more; threads it starts later inherit this), and, on a
// busy machine, not held back behind another thread's time slice (which may add up to 4 ms).
void wakeSleepsOnTime();

// The system's scheduling attributes record, as its sched_getattr and sched_setattr calls take it.
struct SchedulingAttributes
{
    uint32_t size;
    uint32_t policy;
    uint64_t flags;
    int32_t nice;
    uint32_t priority;
    uint64_t runtime, deadline, period;
};

} // namespace rt
