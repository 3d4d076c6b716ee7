// Waiting on the X connection with poll, and the thread's timer slack.
#include "runtime/platform/event_wait.h"

#include <poll.h>
#include <sys/prctl.h>

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

void wakeSleepsOnTime()
{
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0); // 1 ns: 0 would mean "back to the default"
}

} // namespace rt
