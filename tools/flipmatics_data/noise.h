// A fixed integer hash and a smooth value noise made from it: texture and grit without randomness.
#pragma once

namespace flipdata {

// A value in 0..1 for each integer point.
double hashNoise(int x, int y);
// The hash interpolated smoothly between integer points.
double smoothNoise(double x, double y);

} // namespace flipdata
