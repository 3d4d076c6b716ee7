// Waiting on the X connection with poll, and how the system wakes the waiting thread.
#include "runtime/platform/event_wait.h"

#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <ctime>

#include "runtime/platform/x11_window.h"

namespace rt {

int windowEventDescriptor(SDL_Window* window)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    if (Display* display = x11WindowOf(window).display) return ConnectionNumber(display);
#else
    (void)window;
#endif
    return -1;
}

bool sleepUntilReadable(int descriptor, double milliseconds)
{
    if (descriptor < 0) return false;
    if (!(milliseconds > 0)) return true;
    double whole = std::floor(milliseconds / 1000);
    timespec timeout{time_t(whole), long((milliseconds - whole * 1000) * 1e6)};
    pollfd watched{descriptor, POLLIN, 0};
    // A signal ends the sleep early, as an event would; the caller looks at the clock either way.
    return ppoll(&watched, 1, &timeout, nullptr) >= 0 || errno == EINTR;
}

// The time slice the waiting thread asks the scheduler for. A thread whose sleep ends while another
// program's thread has the core preempts it at once only if its slice is shorter than the running one's
// (the default is 0.75 ms times 1 + log2 of the cores, so 1.4 ms on two cores). Otherwise it waits for
// the next timer tick, up to 4 ms later. A shorter slice also lets a busy core take the thread off
// sooner, so it is no shorter than the wait's final spin.
constexpr uint64_t waitingThreadSliceNs = 500'000;

constexpr uint64_t resetOnFork = 1; // SchedulingAttributes::flags

// Linux 6.12 and later take a normal thread's sched_runtime as the length of slice it wants; earlier
// ones ignore it. Threads the caller starts afterwards get the default again (reset on fork). A thread
// whose policy or nice value someone has already raised is left as it is.
static void askForShortTimeSlices()
{
    SchedulingAttributes attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0) return;
    if (attr.policy != SCHED_OTHER || attr.nice < 0) return;
    attr.size = sizeof attr;
    attr.flags = resetOnFork;
    attr.runtime = waitingThreadSliceNs;
    syscall(SYS_sched_setattr, 0, &attr, 0);
}

void wakeSleepsOnTime()
{
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0); // 1 ns: 0 would mean "back to the default"
    askForShortTimeSlices();
}

} // namespace rt
