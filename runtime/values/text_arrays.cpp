// Text arrays and the growable text list.
#include "runtime/values/text_arrays.h"

#include <algorithm>
#include <new>
#include <utility>

#include "runtime/core/end.h"
#include "runtime/values/arrays.h"

using namespace rt;

RtTextArray::~RtTextArray()
{
    delete[] data;
}

namespace rt {

void textArrayAccessFailed(const RtTextArray& array)
{
    rtEndWithCode(array.size1 == 0 ? 8 : 9);
}

} // namespace rt

void rtDimTextArray(RtTextArray& array, double a, double b, double c, double d)
{
    ArrayDimensions request = checkedArrayDimensions(a, b, c, d);
    int32_t needed = request.capacity;
    bool renew = request.renew;

    if (array.capacity < needed || renew) {
        delete[] array.data;
        array.capacity = 0;
        array.data = new (std::nothrow) RtString[size_t(needed)];
        if (!array.data) {
            array.size1 = 0;
            rtEndWithCode(7);
        }
        array.capacity = needed;
    } else {
        // No old text survives a re-dimensioning; emptied texts give their storage back.
        for (int32_t i = 0; i < array.capacity; ++i)
            array.data[i] = RtString();
    }

    setArrayShape(array, request.a, request.b, request.c, request.d);
}

namespace rt {

TextList::~TextList()
{
    delete[] items_;
}

void TextList::append(RtString text)
{
    if (count_ == capacity_) {
        if (capacity_ > INT32_MAX - 128) rtEndWithCode(7);
        int32_t grown = capacity_ == 0 ? 512 : capacity_ + 128;
        RtString* items = new (std::nothrow) RtString[size_t(grown)];
        if (!items) rtEndWithCode(7);
        for (int32_t i = 0; i < count_; ++i)
            items[i] = std::move(items_[i]);
        delete[] items_;
        items_ = items;
        capacity_ = grown;
    }
    items_[count_++] = std::move(text);
}

void TextList::append(const char* begin, const char* end)
{
    RtString text; // an empty element takes no storage
    if (end > begin) {
        uint32_t length = uint32_t(end - begin);
        char* buffer = text.bufferOf(length);
        std::copy(begin, end, buffer);
        buffer[length] = '\0';
        text.recount();
    }
    append(std::move(text));
}

void TextList::moveInto(RtTextArray& array)
{
    rtDimTextArray(array, count_, 0, 0, 0);
    for (int32_t i = 0; i < count_; ++i)
        array.data[i] = std::move(items_[i]);
    delete[] items_;
    items_ = nullptr;
    count_ = capacity_ = 0;
}

} // namespace rt
