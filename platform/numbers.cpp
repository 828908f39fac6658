#include "platform/numbers.h"

#include <charconv>
#include <cstring>

static bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int32_t ParseInt32(const char* text) {
  if (!text) return 0;
  while (IsBlank(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  int64_t value = 0;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > limit) value = limit;  // clamp, and keep reading the digits
  }
  return static_cast<int32_t>(negative ? -value : value);
}

double ParseDouble(const char* text) {
  if (!text) return 0.0;
  while (IsBlank(*text)) ++text;
  if (*text == '+') ++text;
  double value = 0.0;
  auto result = std::from_chars(text, text + std::strlen(text), value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone on overflow; strtod gives +-HUGE_VAL
    // or 0, which the tail below reproduces by the exponent's sign.
    const char* e = text;
    while (*e && *e != 'e' && *e != 'E') ++e;
    bool tiny = *e && e[1] == '-';
    bool negative = *text == '-';
    value = tiny ? (negative ? -0.0 : 0.0) : (negative ? -1.0 / 0.0 : 1.0 / 0.0);
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return value;
}
