#include "project/number_text.h"

#include <charconv>
#include <cmath>

#include "platform/numbers.h"

std::string FormatFloat(float value) {
  char buf[400];  // the widest float, 39 digits, fits many times over
  auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 6);
  return std::string(buf, r.ptr);
}

std::string FormatInt(int32_t value) {
  return std::to_string(value);
}

// The ASCII part of a text for the script's number readers; any other
// character stops a number like a letter would.
static std::string AsciiOf(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

int32_t ReadLenientInt(std::u16string_view text) {
  return ParseInt32(AsciiOf(text).c_str());
}

float ReadLenientFloat(std::u16string_view text) {
  double d = ParseDouble(AsciiOf(text).c_str());
  // From half a step above the largest float on, rounding gives infinity.
  static const double kOverflow = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
  if (std::fabs(d) >= kOverflow) return d > 0 ? INFINITY : -INFINITY;
  return static_cast<float>(d);
}
