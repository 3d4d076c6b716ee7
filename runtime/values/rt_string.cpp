// RtString storage, assignment, appending and the byte-level operations.
#include "runtime/values/rt_string.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "runtime/core/end.h"

using namespace rt;

char RtString::sharedEmpty[1] = {0};

RtString::RtString(const char* text)
{
    if (text) assignBytes(text, uint32_t(strlen(text)));
}

RtString::RtString(const RtString& other)
{
    assignBytes(other.c_str(), other.length_);
}

RtString::RtString(RtString&& other) noexcept
    : text_(other.text_), capacity_(other.capacity_), length_(other.length_)
{
    other.text_ = sharedEmpty;
    other.capacity_ = 0;
    other.length_ = 0;
}

RtString::RtString(int value) { *this = value; }
RtString::RtString(float value) { *this = value; }
RtString::RtString(double value) { *this = value; }

RtString::~RtString()
{
    release();
}

void RtString::release()
{
    if (capacity_) free(text_);
    text_ = sharedEmpty;
    capacity_ = 0;
    length_ = 0;
}

void RtString::reserve(uint32_t n)
{
    if (n < capacity_) return;
    // A text near 4 GiB cannot grow by another step; like any failed allocation it ends the program
    // with the storage end code rather than wrapping the size around.
    if (n > UINT32_MAX - 512) rtEndWithCode(7);
    uint32_t newCapacity = (n & ~511u) + 512;
    char* newText = static_cast<char*>(malloc(newCapacity));
    if (!newText) rtEndWithCode(7);
    if (capacity_) {
        memcpy(newText, text_, length_ + 1);
        free(text_);
    } else {
        newText[0] = '\0';
    }
    text_ = newText;
    capacity_ = newCapacity;
}

char* RtString::bufferOf(uint32_t n)
{
    reserve(n);
    return text_;
}

void RtString::recount()
{
    length_ = capacity_ ? uint32_t(strnlen(text_, capacity_)) : 0;
}

void RtString::cutAt(uint32_t i)
{
    if (!capacity_) return;
    text_[i] = '\0';
    recount();
}

void RtString::assignBytes(const char* bytes, uint32_t count)
{
    if (bytes == text_) return;
    if (count == 0 && capacity_ == 0) return; // an empty value stays on the shared empty text
    reserve(count);
    memmove(text_, bytes, count);
    text_[count] = '\0';
    length_ = count;
}

void RtString::appendBytes(const char* bytes, uint32_t count)
{
    if (count > UINT32_MAX - 512 - length_) rtEndWithCode(7);
    // The appended bytes may be our own (s += s): keep them readable across the reallocation.
    if (bytes >= text_ && bytes < text_ + length_ + 1 && capacity_ && length_ + count >= capacity_) {
        RtString copy(*this);
        appendBytes(copy.c_str(), count);
        return;
    }
    reserve(length_ + count);
    memmove(text_ + length_, bytes, count);
    length_ += count;
    text_[length_] = '\0';
}

RtString& RtString::operator=(const char* text)
{
    assignBytes(text ? text : "", text ? uint32_t(strlen(text)) : 0);
    return *this;
}

RtString& RtString::operator=(const RtString& other)
{
    if (this != &other) assignBytes(other.c_str(), other.length_);
    return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept
{
    if (this != &other) {
        release();
        std::swap(text_, other.text_);
        std::swap(capacity_, other.capacity_);
        std::swap(length_, other.length_);
    }
    return *this;
}

RtString& RtString::operator=(int value)
{
    reserve(numberTextCapacity);
    length_ = uint32_t(intToText(value, text_));
    return *this;
}

RtString& RtString::operator=(float value)
{
    return *this = double(value);
}

RtString& RtString::operator=(double value)
{
    reserve(numberTextCapacity);
    length_ = uint32_t(doubleToText(value, text_));
    return *this;
}

RtString& RtString::operator+=(const char* text)
{
    if (text) appendBytes(text, uint32_t(strlen(text)));
    return *this;
}

RtString& RtString::operator+=(const RtString& other)
{
    appendBytes(other.c_str(), other.length_);
    return *this;
}

RtString& RtString::operator+=(int value)
{
    char text[numberTextCapacity];
    appendBytes(text, uint32_t(intToText(value, text)));
    return *this;
}

RtString& RtString::operator+=(float value)
{
    return *this += double(value);
}

RtString& RtString::operator+=(double value)
{
    char text[numberTextCapacity];
    appendBytes(text, uint32_t(doubleToText(value, text)));
    return *this;
}

RtString RtString::lowerCase() const
{
    RtString copy(*this);
    for (uint32_t i = 0; i < copy.length_; ++i)
        if (copy.text_[i] >= 'A' && copy.text_[i] <= 'Z') copy.text_[i] += 'a' - 'A';
    return copy;
}

RtString RtString::upperCase() const
{
    RtString copy(*this);
    for (uint32_t i = 0; i < copy.length_; ++i)
        if (copy.text_[i] >= 'a' && copy.text_[i] <= 'z') copy.text_[i] -= 'a' - 'A';
    return copy;
}

int RtString::find(const char* text) const
{
    const char* found = strstr(c_str(), text ? text : "");
    return found ? int(found - c_str()) : -1;
}

namespace rt {

static double relationHolds(int order, Relation relation)
{
    switch (relation) {
    case Relation::Equal: return order == 0;
    case Relation::NotEqual: return order != 0;
    case Relation::Less: return order < 0;
    case Relation::Greater: return order > 0;
    case Relation::LessEqual: return order <= 0;
    case Relation::GreaterEqual: return order >= 0;
    }
    return 0;
}

} // namespace rt

double rtCompareTexts(const char* left, const char* right, Relation relation)
{
    return relationHolds(strcmp(left ? left : "", right ? right : ""), relation);
}

double rtCompareNumbers(double left, double right, Relation relation)
{
    switch (relation) {
    case Relation::Equal: return left == right;
    case Relation::NotEqual: return left != right;
    case Relation::Less: return left < right;
    case Relation::Greater: return left > right;
    case Relation::LessEqual: return left <= right;
    case Relation::GreaterEqual: return left >= right;
    }
    return 0;
}

int rtCompareTextWithNumber(const char* text, double number)
{
    double value = textToNumber(text);
    if (value < number) return -1;
    if (value == number) return 0;
    return 1;
}
