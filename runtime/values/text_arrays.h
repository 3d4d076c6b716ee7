// Game arrays of texts, the text counterpart of RtArray, and the growable text list that commands fill
// before they know how many texts they will return.
#pragma once

#include <cstdint>

#include "runtime/values/arrays.h"
#include "runtime/values/numbers.h"
#include "runtime/values/rt_string.h"

struct RtTextArray
{
    RtString* data = nullptr; // owned block of capacity texts; null before the first dimensioning
    int32_t stride2 = 0;      // elements per step of the second index
    int32_t stride3 = 0;      // elements per step of the third index
    int32_t stride4 = 0;      // elements per step of the fourth index
    int32_t size1 = 0;        // sizes as dimensioned; 0 for a dimension the array does not have
    int32_t size2 = 0;
    int32_t size3 = 0;
    int32_t size4 = 0;
    int32_t dimensions = 0; // 1 to 4 once dimensioned
    int32_t capacity = 0;   // texts in the block, a multiple of 8

    RtTextArray() = default;
    ~RtTextArray();
    RtTextArray(const RtTextArray&) = delete;
    RtTextArray& operator=(const RtTextArray&) = delete;
};

// Dimension the text array: every text becomes empty. Sizes as for rtDimArray (a first size below 1
// leaves the array without size, more texts than storage can hold end with code 7).
void rtDimTextArray(RtTextArray& array, double a, double b, double c, double d);

namespace rt {
[[noreturn]] void textArrayAccessFailed(const RtTextArray& array);
} // namespace rt

// Text (i, j, k, l), checked as number arrays are (arrayElementOffset): code 8 for an array without
// size, 9 for an index outside it.
inline RtString& rtTextArrayAt(RtTextArray& array, double i, double j = 0, double k = 0, double l = 0)
{
    int64_t offset = rt::arrayElementOffset(array, i, j, k, l);
    if (offset < 0) rt::textArrayAccessFailed(array);
    return array.data[offset];
}

namespace rt {

// Texts collected one by one: the block starts at 512 texts and grows by 128.
class TextList
{
  public:
    TextList() = default;
    ~TextList();
    TextList(const TextList&) = delete;
    TextList& operator=(const TextList&) = delete;

    // Append the text; storage that cannot be had ends the program with code 7.
    void append(RtString text);
    // Append the bytes [begin, end) as one text.
    void append(const char* begin, const char* end);

    int32_t count() const { return count_; }
    int32_t capacity() const { return capacity_; }
    const RtString& operator[](int32_t i) const { return items_[i]; }

    // Dimension the array to one dimension of count() texts and move the texts into it in order; the
    // list is empty afterwards.
    void moveInto(RtTextArray& array);

  private:
    RtString* items_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
};

} // namespace rt
