// The engine clock.
#pragma once

// Milliseconds of a monotonic high-resolution clock, with fractions.
double nowMs();
