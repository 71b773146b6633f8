// Every number rule of the system: the two readings of a text as a number, the text form of
// single and double values, rounding to a step, whole part and 16-bit conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace common {

// Lenient reading: blanks, tabs and line feeds anywhere are skipped; an optional sign, digits with
// at most one period and an optional exponent are read up to the first other character.
// "3x" reads 3, "x3" and "" read 0, ".5" reads 0.5. A result too large for a double is error 6.
double LeadingNumber(std::string_view text);
// The same, but a result too large for a double is an infinity of its sign instead of error 6.
double LeadingNumberOrInfinity(std::string_view text);

// Whole-text reading: apart from leading and trailing blanks the text must be a number,
// else error 13 (an empty text included).
double StrictNumber(std::string_view text);

// True when StrictNumber would accept the text.
bool IsStrictNumber(std::string_view text);

// Text form: plain decimal, period, no exponent, no trailing zeros; values between -1 and 1 keep
// their leading 0 ("0.07", "-0.5"). Single: at most 7 significant digits, formatted from the float.
std::string SingleText(float value);
// Double: at most 15 significant digits.
std::string DoubleText(double value);

// floor(x * factor + 0.5) / factor (factor 10000 for four decimals, 100 for two, 1 for whole).
double RoundToStep(double x, double factor);

// The largest whole number not above x.
double WholePart(double x);

// Nearest whole number, halves to the even neighbour; outside -32768..32767 is error 6.
int16_t ToInt16(double x);

// A double stored into a single; a value beyond the single range is error 6.
float ToSingle(double x);

}  // namespace common
