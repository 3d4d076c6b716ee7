// The engine clock.
#pragma once

namespace rt {

// Milliseconds of a monotonic high-resolution clock, with fractions.
double nowMs();
// Sleeps about the given milliseconds (nothing for 0 or less); may wake a little late.
void sleepMs(double milliseconds);

} // namespace rt
