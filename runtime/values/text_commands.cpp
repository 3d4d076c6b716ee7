// Text commands built on RtString and the number/text rules.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "runtime/core/engine_state.h"
#include "runtime/runtime.h"

using namespace rt;

double rtTextLength(const RtString& text)
{
    return text.length();
}

double rtNumberTextLength(double value)
{
    char text[numberTextCapacity];
    return doubleToText(value, text);
}

double rtCharCode(const RtString& text)
{
    return text.charAt(0);
}

RtString rtCharFromCode(double code)
{
    // Stored as a 16-bit value, low byte first; the text is what stands before the first zero byte.
    uint16_t value = uint16_t(toUint32Wrapping(code));
    char bytes[3] = {char(value & 0xFF), char(value >> 8), 0};
    return RtString(bytes);
}

RtString rtFormatNumber(double width, double decimals, double value)
{
    // Widths and precisions are held to what the 512-byte result can show, so the format stays valid.
    int columns = std::clamp(toInt(width), -511, 511);
    int places = std::clamp(toInt(decimals), 0, 511);
    char format[32];
    snprintf(format, sizeof format, "%%%d.%df", columns, places);
    char text[512];
    snprintf(text, sizeof text, format, value);
    return RtString(text);
}

double rtFindText(const RtString& text, const RtString& find)
{
    return text.find(find.c_str());
}

RtString rtLowerText(const RtString& text)
{
    return text.lowerCase();
}

RtString rtUpperText(const RtString& text)
{
    return text.upperCase();
}

RtString rtCommandLine()
{
    return engine.commandLine.c_str();
}
