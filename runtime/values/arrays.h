// Game arrays of doubles: one to four dimensions, the first index varying fastest, bounds-checked
// access that ends the program (code 8 for an array without size, 9 for an index out of range) and
// storage that ends it with code 7 when it cannot be had.
#pragma once

#include <cmath>
#include <cstdint>

#include "runtime/values/numbers.h"

struct RtArray
{
    double* data = nullptr;  // inlineBuffer or an owned heap block; null before the first dimensioning
    double inlineBuffer[16]; // storage while the capacity is at most 16 elements
    int32_t stride2 = 0;     // elements per step of the second index
    int32_t stride3 = 0;     // elements per step of the third index
    int32_t stride4 = 0;     // elements per step of the fourth index
    int32_t size1 = 0;       // sizes as dimensioned; 0 for a dimension the array does not have
    int32_t size2 = 0;
    int32_t size3 = 0;
    int32_t size4 = 0;
    int32_t dimensions = 0; // 1 to 4 once dimensioned
    int32_t capacity = 0;   // elements the storage holds

    RtArray() = default;
    ~RtArray();
    // data may point into the record itself: arrays are copied only through rtCopyArray.
    RtArray(const RtArray&) = delete;
    RtArray& operator=(const RtArray&) = delete;
};

namespace rt {

// A size that is not a number means no size. Negative sizes are kept as passed: no index lies inside
// them, so every access to such an array ends the program.
inline double arraySizeOrZero(double size)
{
    return std::isnan(size) ? 0 : size;
}

// Element count behind sizes a, b, c, d: a × b × c × d with b, c, d raised to at least 1 and a below 1
// counting as 0. Sizes that are not numbers count as 0. Returns -1 when the count does not
// fit the storage an array may have.
int64_t arrayElementCount(double a, double b, double c, double d);
// Capacity for n elements: n rounded down to a multiple of 8, plus 8 (always one spare element).
inline int32_t arrayCapacityFor(int64_t n)
{
    return int32_t((n & ~int64_t(7)) + 8);
}

// A dimensioning request with its sizes checked: sizes that are not numbers count as 0, and
// a first size below 1 counts as 0, leaving an array without size whose storage is renewed in any case.
struct ArrayDimensions
{
    double a, b, c, d;
    bool renew;       // the storage is replaced even when it is large enough
    int32_t capacity; // elements the storage needs
};
// Ends the program with code 7 when the element count cannot be stored.
ArrayDimensions checkedArrayDimensions(double a, double b, double c, double d);

// The part of the bounds test that ends the program; kept out of line so element access stays small.
[[noreturn]] void arrayAccessFailed(const RtArray& array);

// Number and text arrays share their shape: sizes, dimension count and strides.

// Offset of element (i, j, k, l) in the array's storage, the indices truncated toward zero; -1 when the
// array has no size or an index lies outside it (an index of a dimension the array lacks must be 0).
// An index that is not a number lies outside every array: it must not quietly reach element 0.
template <class Array>
inline int64_t arrayElementOffset(const Array& array, double i, double j, double k, double l)
{
    if (std::isnan(i) || std::isnan(j) || std::isnan(k) || std::isnan(l)) return -1;
    int ii = toInt(i), jj = toInt(j), kk = toInt(k), ll = toInt(l);
    if (array.size1 == 0 || ii < 0 || jj < 0 || kk < 0 || ll < 0 || ii >= array.size1 ||
        jj >= (array.size2 ? array.size2 : 1) || kk >= (array.size3 ? array.size3 : 1) ||
        ll >= (array.size4 ? array.size4 : 1))
        return -1;
    return ii + int64_t(jj) * array.stride2 + int64_t(kk) * array.stride3 + int64_t(ll) * array.stride4;
}

// Stores sizes a, b, c, d (already checked: numbers, a is 0 or at least 1), the dimension count and
// the strides. A dimension of size 0 takes one step, as its only index 0 does: an array dimensioned
// (5, 0, 3) keeps its 15 elements apart instead of folding the third index onto the first row. When
// size1 is 0 every stride is 0 and no access gets through.
template <class Array> void setArrayShape(Array& array, double a, double b, double c, double d)
{
    array.size1 = toInt(a);
    array.size2 = toInt(b);
    array.size3 = toInt(c);
    array.size4 = toInt(d);
    array.dimensions = d != 0 ? 4 : c != 0 ? 3 : b == 0 ? 1 : 2;
    int64_t step2 = array.size1;
    int64_t step3 = step2 * (array.size2 > 1 ? array.size2 : 1);
    int64_t step4 = step3 * (array.size3 > 1 ? array.size3 : 1);
    array.stride2 = int32_t(step2);
    array.stride3 = int32_t(step3);
    array.stride4 = int32_t(step4);
}

} // namespace rt

// Element (i, j, k, l). Ends the program with code 8 when the array has no size, 9 for an index
// outside it.
inline double& rtArrayAt(RtArray& array, double i, double j = 0, double k = 0, double l = 0)
{
    int64_t offset = rt::arrayElementOffset(array, i, j, k, l);
    if (offset < 0) rt::arrayAccessFailed(array);
    return array.data[offset];
}

// Dimension the array with sizes a, b, c, d (0 for those not needed): all elements become 0. The storage
// is kept when it is large enough, unless a is below 1, which renews it; such an array has no size.
void rtDimArray(RtArray& array, double a, double b, double c, double d);
// Dimension again with the new sizes, keeping every element whose indices lie inside both the old and
// the new sizes.
void rtResizeArray(RtArray& array, double a, double b, double c, double d);
// Dimension destination like source and copy all elements.
void rtCopyArray(RtArray& destination, const RtArray& source);
// A one-dimensional array of count elements holding values[0 .. count-1] (zeros when values is null).
void rtDimArrayWithData(RtArray& array, double count, const double* values);
// Size of dimension d (0 to 3); 0 for any other d.
double rtArraySize(const RtArray& array, double d);
