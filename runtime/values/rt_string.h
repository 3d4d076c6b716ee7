// RtString: the game language's text value. 8-bit bytes, zero-terminated, grown in 512-byte steps and
// never shrunk; an empty value points at one shared static text and allocates nothing. Copies copy the
// bytes. Numbers become text and text becomes numbers by the rules of number_text.h.
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/values/number_text.h"

class RtString {
public:
    RtString() = default;
    RtString(const char* text);
    RtString(const RtString& other);
    RtString(RtString&& other) noexcept;
    explicit RtString(int value);
    explicit RtString(float value);
    explicit RtString(double value);
    ~RtString();

    RtString& operator=(const char* text);
    RtString& operator=(const RtString& other);
    RtString& operator=(RtString&& other) noexcept;
    RtString& operator=(int value);
    RtString& operator=(float value);
    RtString& operator=(double value);

    RtString& operator+=(const char* text);
    RtString& operator+=(const RtString& other);
    RtString& operator+=(int value);
    RtString& operator+=(float value);
    RtString& operator+=(double value);

    // Room for n bytes of text plus the terminator: below the capacity nothing happens, otherwise the
    // capacity becomes the next multiple of 512 above n and the text moves over.
    void reserve(uint32_t n);
    // reserve(n) and hand out the buffer for code that writes text into it; call recount() after.
    char* bufferOf(uint32_t n);
    // length = bytes before the first zero, looking at most at the capacity.
    void recount();

    // The text for plain-text interfaces: never null.
    const char* c_str() const { return length_ ? text_ : ""; }
    uint32_t length() const { return length_; }
    uint32_t capacity() const { return capacity_; }
    bool empty() const { return length_ == 0; }

    // The byte at i, 0 for an empty value. The caller keeps i within 0..length.
    unsigned char charAt(uint32_t i) const { return length_ ? (unsigned char)text_[i] : 0; }
    // Store byte c at i (i < length).
    void setCharAt(uint32_t i, char c) { text_[i] = c; }
    // Write a zero at i (i <= length) and recount.
    void cutAt(uint32_t i);

    RtString lowerCase() const;
    RtString upperCase() const;
    // 0-based position of the first occurrence of text, -1 when absent; an empty text is found at 0.
    int find(const char* text) const;

private:
    void assignBytes(const char* bytes, uint32_t count);
    void appendBytes(const char* bytes, uint32_t count);
    void release();

    static char sharedEmpty[1];
    char* text_ = sharedEmpty;
    uint32_t capacity_ = 0; // bytes owned; 0 while text_ is the shared empty text
    uint32_t length_ = 0;   // bytes before the terminator
};

// ---- Concatenation: any pairing of int, float, double, plain text and RtString with at least one text.

inline RtString makeText(const char* text) { return RtString(text); }
inline RtString makeText(const RtString& text) { return text; }
inline RtString makeText(int value) { return RtString(value); }
inline RtString makeText(float value) { return RtString(value); }
inline RtString makeText(double value) { return RtString(value); }

template <class T>
constexpr bool isTextOperand = std::is_convertible_v<const T&, const char*> || std::is_same_v<T, RtString>;

template <class A, class B>
RtString rtConcat(const A& left, const B& right)
{
    static_assert(isTextOperand<A> || isTextOperand<B>, "concatenation needs at least one text operand");
    RtString result = makeText(left);
    result += right;
    return result;
}

inline RtString operator+(const RtString& left, const RtString& right) { return rtConcat(left, right); }
inline RtString operator+(const RtString& left, const char* right) { return rtConcat(left, right); }
inline RtString operator+(const char* left, const RtString& right) { return rtConcat(left, right); }
inline RtString operator+(const RtString& left, double right) { return rtConcat(left, right); }
inline RtString operator+(const RtString& left, int right) { return rtConcat(left, right); }
inline RtString operator+(const RtString& left, float right) { return rtConcat(left, right); }
inline RtString operator+(double left, const RtString& right) { return rtConcat(left, right); }
inline RtString operator+(int left, const RtString& right) { return rtConcat(left, right); }
inline RtString operator+(float left, const RtString& right) { return rtConcat(left, right); }

// ---- Comparisons: the real 1 for true, 0 for false.

enum class Relation { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

// Texts compare byte-wise as unsigned bytes (strcmp order).
double rtCompareTexts(const char* left, const char* right, Relation relation);
// Text meets number: the text becomes a number and the numbers compare; a side that is not a number
// makes = false and <> true.
double rtCompareNumbers(double left, double right, Relation relation);
// Three-way comparison of a text (as a number) with a number: -1, 0 or 1 (1 when either is not a number).
int rtCompareTextWithNumber(const char* text, double number);

inline double textRelation(const RtString& left, const RtString& right, Relation relation)
{
    if (relation == Relation::Equal && left.length() != right.length()) return 0;
    if (relation == Relation::NotEqual && left.length() != right.length()) return 1;
    return rtCompareTexts(left.c_str(), right.c_str(), relation);
}

#define RT_TEXT_RELATION(op, relation)                                                                       \
    inline double operator op(const RtString& l, const RtString& r) { return textRelation(l, r, relation); } \
    inline double operator op(const RtString& l, const char* r) { return rtCompareTexts(l.c_str(), r, relation); } \
    inline double operator op(const char* l, const RtString& r) { return rtCompareTexts(l, r.c_str(), relation); } \
    inline double operator op(const RtString& l, double r)                                                   \
    {                                                                                                        \
        return rtCompareNumbers(rt::textToNumber(l.c_str()), r, relation);                                     \
    }                                                                                                        \
    inline double operator op(double l, const RtString& r)                                                   \
    {                                                                                                        \
        return rtCompareNumbers(l, rt::textToNumber(r.c_str()), relation);                                     \
    }                                                                                                        \
    inline double operator op(const RtString& l, int r) { return l op double(r); }                          \
    inline double operator op(int l, const RtString& r) { return double(l) op r; }                           \
    inline double operator op(const RtString& l, float r) { return l op double(r); }                         \
    inline double operator op(float l, const RtString& r) { return double(l) op r; }

RT_TEXT_RELATION(==, Relation::Equal)
RT_TEXT_RELATION(!=, Relation::NotEqual)
RT_TEXT_RELATION(<, Relation::Less)
RT_TEXT_RELATION(>, Relation::Greater)
RT_TEXT_RELATION(<=, Relation::LessEqual)
RT_TEXT_RELATION(>=, Relation::GreaterEqual)
#undef RT_TEXT_RELATION
