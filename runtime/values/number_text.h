// The two conversions between numbers and text that every command uses.
#pragma once

#include <cstddef>

namespace rt {

// Room for any number's text, terminator included.
constexpr size_t numberTextCapacity = 64;

// Integers: plain decimal digits with a leading '-' ("-15", "0", "39").
int intToText(int value, char* out);

// Reals: 10 significant digits, decimal notation while it fits, trailing fraction zeros and a bare
// decimal point dropped ("5", "0.5", "0.3333333333", "1234567890"); exponent notation beyond 10^10
// and below 10^-5 ("1e+10"). Returns the text's length.
int doubleToText(double value, char* out);

// Leading white space, an optional sign, digits with an optional point and exponent; reading stops
// at the first byte that does not fit and a text without a number gives 0 ("12abc" = 12, "abc" = 0).
// Words such as "inf", "nan" and hexadecimal prefixes are not numbers here.
double textToNumber(const char* text);

} // namespace rt
