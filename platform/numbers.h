// Reading numbers from script tokens, the same on every build and locale.
#pragma once
#include <cstdint>

// As a 32-bit strtol in base 10: leading blanks, optional sign, digits up to
// the first other character, clamped to the 32-bit range; no digits give 0.
int32_t ParseInt32(const char* text);
// Leading blanks and one '+', then the longest decimal number (point,
// exponent, "inf", "nan"); nothing readable gives 0.
double ParseDouble(const char* text);
