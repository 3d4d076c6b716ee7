// Commands on values: texts, number arrays, math, random numbers and text arrays.
// Games include runtime/runtime.h, which includes this.
#pragma once

#include "runtime/values/arrays.h"
#include "runtime/values/rt_string.h"
#include "runtime/values/text_arrays.h"

// ---------------------------------------------------------------------------------------------
// Values: text commands
// ---------------------------------------------------------------------------------------------

double rtTextLength(const RtString& text);
// Length of the number's text ("5" → 1, "0.5" → 3).
double rtNumberTextLength(double value);
// Byte value 0..255 of the first byte; 0 for the empty text.
double rtCharCode(const RtString& text);
// The code as a 16-bit value, low byte first, up to the first zero byte: 65 → "A", 0 and 256 → "".
RtString rtCharFromCode(double code);
// printf's "%<width>.<decimals>f": (3, 2, 3.14159) → "3.14"; width and decimals held to 511.
RtString rtFormatNumber(double width, double decimals, double value);
// 0-based position of find in text, -1 when absent; the empty text is found at 0.
double rtFindText(const RtString& text, const RtString& find);
// Copies with only ASCII letters changed.
RtString rtLowerText(const RtString& text);
RtString rtUpperText(const RtString& text);

// ---------------------------------------------------------------------------------------------
// Values: arrays and math
// ---------------------------------------------------------------------------------------------

// All elements 0; sizes that are not numbers count as 0, a first size below 1 leaves the array without
// size, a negative other size is kept (no index lies inside it); more elements than storage can hold
// (or no storage) end with code 7.
void rtDimArray(RtArray& array, double a, double b, double c, double d);
// Element (i, j, k, l); ends with code 8 for an array without size, 9 for any index outside it
// (an index of a dimension the array lacks must be 0).
double& rtArrayAt(RtArray& array, double i, double j, double k, double l);
// New sizes, keeping the elements inside both the old and the new sizes.
void rtResizeArray(RtArray& array, double a, double b, double c, double d);
// Destination dimensioned like source, with all its elements; copying an array onto itself keeps it.
void rtCopyArray(RtArray& destination, const RtArray& source);
// One dimension of count elements holding values in order.
void rtDimArrayWithData(RtArray& array, double count, const double* values);
// Size of dimension d = 0..3; 0 for any other d.
double rtArraySize(const RtArray& array, double d);

// Sine, cosine and tangent of an angle in degrees.
double rtSin(double degrees);
double rtCos(double degrees);
double rtTan(double degrees);
// Angle in degrees of the point (x, y), -180 to 180.
double rtAtan2(double y, double x);
// Arc sine in degrees; 90 for x >= 1, -90 for x <= -1.
double rtAsin(double x);
// Arc cosine in degrees; 0 for x >= 1, 180 for x <= -1.
double rtAcos(double x);
// Square root; not a number for a negative x.
double rtSqrt(double x);
double rtAbs(double x);
double rtPow(double x, double y);
// trunc(a) remainder trunc(b) with the sign of a (-7, 3 → -1); 0 when trunc(b) is 0 (b = 0 or a fraction).
double rtRemainder(double a, double b);
// 1 when the two boxes share a point (touching edges count), else 0; widths and heights may be negative.
double rtBoxesOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2, double h2);

// ---------------------------------------------------------------------------------------------
// Values: random numbers
// ---------------------------------------------------------------------------------------------

// Seed the generator (start-up does it from the clock).
void rtSeedRandom(uint32_t seed);
// A whole number from 0 to trunc(n) inclusive, in unsigned 32-bit arithmetic (any n from 2^32 - 1 up
// draws from the whole 32-bit range); 0 for a negative n.
double rtRandom(double n);

// ---------------------------------------------------------------------------------------------
// Values: text arrays and text commands
// ---------------------------------------------------------------------------------------------

// Every text empty; sizes as for rtDimArray (a first size below 1 leaves the array without size,
// more texts than storage can hold end with code 7).
void rtDimTextArray(RtTextArray& array, double a, double b, double c, double d);
// Text (i, j, k, l); ends with code 8 for an array without size, 9 for any index outside it.
RtString& rtTextArrayAt(RtTextArray& array, double i, double j, double k, double l);
// count bytes from byte start (from 0), cut at the text's end: ("ABCDE", 1, 3) → "BCD"; a start
// below 0 or past the end, or a count of 0 or less, gives "".
RtString rtMidText(const RtString& text, double start, double count);
// Every occurrence of find replaced; with a replacement of another length the search goes on inside
// or just after the inserted text ("aaaa", "aa", "a" → "a"). An empty find returns the text unchanged.
RtString rtReplaceText(const RtString& text, const RtString& find, const RtString& replacement);
// Split text at any byte of delimiters into array (one dimension) and return the number of elements:
// runs of delimiters between elements give no empty elements, trailing ones do ("a,," → a, "").
// The empty text gives none; an empty delimiter set gives the whole text as one element.
double rtSplitText(const RtString& text, RtTextArray& array, const RtString& delimiters);
