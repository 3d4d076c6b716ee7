// Game arrays of doubles: dimensioning, the bounds test's failure path, resizing and copying.
#include "runtime/values/arrays.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "runtime/core/end.h"

using namespace rt;

namespace rt {

// Element indices and capacities are int32; the largest element count keeps the capacity (count
// rounded to 8, plus 8) inside that range.
static constexpr double maxArrayElements = double(INT32_MAX - 16);

int64_t arrayElementCount(double a, double b, double c, double d)
{
    a = arraySizeOrZero(a);
    if (a < 1) return 0;
    double product = a * std::max(arraySizeOrZero(b), 1.0) * std::max(arraySizeOrZero(c), 1.0) *
                     std::max(arraySizeOrZero(d), 1.0);
    if (!(product <= maxArrayElements)) return -1; // also catches infinities
    return int64_t(product);
}

static void releaseHeapBlock(RtArray& array)
{
    if (array.data && array.data != array.inlineBuffer) free(array.data);
    array.data = nullptr;
    array.capacity = 0;
}

} // namespace rt

RtArray::~RtArray()
{
    releaseHeapBlock(*this);
}

namespace rt {

void arrayAccessFailed(const RtArray& array)
{
    rtEndWithCode(array.size1 == 0 ? 8 : 9);
}

ArrayDimensions checkedArrayDimensions(double a, double b, double c, double d)
{
    ArrayDimensions checked{arraySizeOrZero(a), arraySizeOrZero(b), arraySizeOrZero(c), arraySizeOrZero(d), false, 0};
    checked.renew = checked.a < 1;
    if (checked.renew) checked.a = 0;
    int64_t elements = arrayElementCount(checked.a, checked.b, checked.c, checked.d);
    if (elements < 0) rtEndWithCode(7);
    checked.capacity = arrayCapacityFor(elements);
    return checked;
}

} // namespace rt

void rtDimArray(RtArray& array, double a, double b, double c, double d)
{
    ArrayDimensions request = checkedArrayDimensions(a, b, c, d);
    int32_t count = request.capacity;
    bool renew = request.renew;

    if (array.capacity < count || renew) {
        releaseHeapBlock(array);
        if (count > 16) {
            // A fresh block from calloc is already zero, and huge blocks are not touched twice.
            array.data = static_cast<double*>(calloc(size_t(count), sizeof(double)));
            if (!array.data) {
                array.size1 = 0;
                rtEndWithCode(7);
            }
        } else {
            array.data = array.inlineBuffer;
            std::fill_n(array.data, count, 0.0);
        }
        array.capacity = count;
    } else {
        std::fill_n(array.data, array.capacity, 0.0);
    }

    setArrayShape(array, request.a, request.b, request.c, request.d);
}

namespace rt {

// Elements one array's storage holds for its sizes.
static int64_t storedElements(const RtArray& array)
{
    if (array.size1 <= 0) return 0;
    return int64_t(array.size1) * std::max(array.size2, 1) * std::max(array.size3, 1) *
           std::max(array.size4, 1);
}

} // namespace rt

void rtResizeArray(RtArray& array, double a, double b, double c, double d)
{
    RtArray resized;
    rtDimArray(resized, a, b, c, d);

    if (array.size1 > 0 && resized.size1 > 0) {
        // Per dimension the indices both arrays have; a missing dimension has only index 0.
        int n1 = std::min(array.size1, resized.size1);
        int n2 = std::min(std::max(array.size2, 1), std::max(resized.size2, 1));
        int n3 = std::min(std::max(array.size3, 1), std::max(resized.size3, 1));
        int n4 = std::min(std::max(array.size4, 1), std::max(resized.size4, 1));
        for (int l = 0; l < n4; ++l)
            for (int k = 0; k < n3; ++k)
                for (int j = 0; j < n2; ++j) {
                    const double* from =
                        array.data + j * array.stride2 + k * array.stride3 + l * array.stride4;
                    double* to =
                        resized.data + j * resized.stride2 + k * resized.stride3 + l * resized.stride4;
                    std::copy_n(from, n1, to);
                }
    }

    // Take over the new storage: inline elements are copied, a heap block changes hands.
    releaseHeapBlock(array);
    if (resized.data == resized.inlineBuffer) {
        std::copy_n(resized.inlineBuffer, 16, array.inlineBuffer);
        array.data = array.inlineBuffer;
    } else {
        array.data = resized.data;
        resized.data = nullptr;
    }
    array.capacity = resized.capacity;
    array.stride2 = resized.stride2;
    array.stride3 = resized.stride3;
    array.stride4 = resized.stride4;
    array.size1 = resized.size1;
    array.size2 = resized.size2;
    array.size3 = resized.size3;
    array.size4 = resized.size4;
    array.dimensions = resized.dimensions;
}

void rtCopyArray(RtArray& destination, const RtArray& source)
{
    if (&destination == &source) return; // dimensioning would clear the very elements to copy
    rtDimArray(destination, source.size1, source.size2, source.size3, source.size4);
    std::copy_n(source.data, storedElements(source), destination.data);
}

void rtDimArrayWithData(RtArray& array, double count, const double* values)
{
    rtDimArray(array, count, 0, 0, 0);
    if (values) std::copy_n(values, std::max(array.size1, 0), array.data);
}

double rtArraySize(const RtArray& array, double d)
{
    switch (toInt(d)) {
    case 0:
        return array.size1;
    case 1:
        return array.size2;
    case 2:
        return array.size3;
    case 3:
        return array.size4;
    default:
        return 0;
    }
}
