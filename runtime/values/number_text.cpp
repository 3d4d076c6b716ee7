// Number-to-text and text-to-number rules.
#include "runtime/values/number_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace rt;

namespace rt {

int intToText(int value, char* out)
{
    return snprintf(out, numberTextCapacity, "%d", value);
}

int doubleToText(double value, char* out)
{
    int length = snprintf(out, numberTextCapacity, "%.10g", value);
    if (length == 2 && strcmp(out, ".0") == 0) {
        strcpy(out, "0");
        return 1;
    }
    if (length > 0 && out[length - 1] == '.') out[--length] = '\0';
    return length;
}

double textToNumber(const char* text)
{
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    const char* digits = p;
    while (isdigit((unsigned char)*p)) ++p;
    if (*p == '.') ++p;
    while (isdigit((unsigned char)*p)) ++p;
    bool hasDigits = false;
    for (const char* q = digits; q < p; ++q) hasDigits |= bool(isdigit((unsigned char)*q));
    if (!hasDigits) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (isdigit((unsigned char)*exponent)) {
            p = exponent;
            while (isdigit((unsigned char)*p)) ++p;
        }
    }
    // Convert only the part that matched, so strtod's extensions (hex, inf, nan) never apply.
    char number[128];
    size_t length = size_t(p - start);
    if (length < sizeof number) {
        memcpy(number, start, length);
        number[length] = '\0';
        return strtod(number, nullptr);
    }
    char* copy = strndup(start, length);
    double value = copy ? strtod(copy, nullptr) : 0;
    free(copy);
    return value;
}

} // namespace rt
