// The math commands. Angles are degrees, converted with 57.2957795 per radian (180/pi to nine
// decimals), so results match the game language's own rounding rather than the exact constant.
#include <algorithm>
#include <cmath>

#include "runtime/runtime.h"

using namespace rt;

namespace rt {

static constexpr double degreesPerRadian = 57.2957795;

} // namespace rt

double rtSin(double degrees)
{
    return std::sin(degrees / degreesPerRadian);
}

double rtCos(double degrees)
{
    return std::cos(degrees / degreesPerRadian);
}

double rtTan(double degrees)
{
    return std::tan(degrees / degreesPerRadian);
}

double rtAtan2(double y, double x)
{
    return std::atan2(y, x) * degreesPerRadian;
}

double rtAsin(double x)
{
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * degreesPerRadian;
}

double rtAcos(double x)
{
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * degreesPerRadian;
}

double rtSqrt(double x)
{
    return std::sqrt(x);
}

double rtAbs(double x)
{
    return x < 0 ? -x : x;
}

double rtPow(double x, double y)
{
    return std::pow(x, y);
}

double rtRemainder(double a, double b)
{
    int dividend = toInt(a);
    int divisor = toInt(b);
    // A divisor that truncates to 0 (0 itself or a fraction) has no remainder; -1 always leaves 0 and
    // would overflow for the smallest int.
    if (divisor == 0 || divisor == -1) return 0;
    return dividend % divisor;
}

double rtBoxesOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2, double h2)
{
    // Each box covers a closed range per axis; widths and heights may be negative.
    auto overlaps = [](double start1, double extent1, double start2, double extent2) {
        double low1 = std::min(start1, start1 + extent1), high1 = std::max(start1, start1 + extent1);
        double low2 = std::min(start2, start2 + extent2), high2 = std::max(start2, start2 + extent2);
        return std::max(low1, low2) <= std::min(high1, high2);
    };
    return overlaps(x1, w1, x2, w2) && overlaps(y1, h1, y2, h2) ? 1 : 0;
}
