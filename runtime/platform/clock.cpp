// The engine clock over the system's monotonic high-resolution counter.
#include "runtime/platform/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace rt {

double nowMs()
{
    auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(ticks).count();
}

void sleepMs(double milliseconds)
{
    if (!(milliseconds > 0)) return;
    double whole = std::floor(milliseconds / 1000);
    timespec pause{time_t(whole), long((milliseconds - whole * 1000) * 1e6)};
    nanosleep(&pause, nullptr);
}

} // namespace rt
