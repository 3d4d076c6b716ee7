// The engine clock.
#pragma once

namespace rt {

// Milliseconds of a monotonic high-resolution clock, with fractions.
double nowMs();

} // namespace rt
