// Numbers as the project file and the vehicle script write and read them,
// the same on every build and in every locale.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// "%f" of the value widened to double: six decimals, '.' as the point.
std::string FormatFloat(float value);
// "%d".
std::string FormatInt(int32_t value);

// Lenient reading: leading blanks, an optional sign, digits up to the first
// other character; no digits give 0. Integers clamp to 32 bits.
int32_t ReadLenientInt(std::u16string_view text);
// The same for a decimal floating-point number, rounded once to float;
// beyond the float range it becomes an infinity.
float ReadLenientFloat(std::u16string_view text);
