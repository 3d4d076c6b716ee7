// The engine clock over the system's monotonic high-resolution counter.
#include "runtime/platform/clock.h"

#include <chrono>

using namespace rt;

namespace rt {

double nowMs()
{
    auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(ticks).count();
}

} // namespace rt
