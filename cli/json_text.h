// Minimal JSON output: strings escaped, numbers that JSON can carry.
#pragma once
#include <cmath>
#include <cstdio>
#include <string>

inline std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// A float as the listing prints it, or a string where JSON has no number.
inline std::string JsonReal(double value, const std::string& display) {
  return std::isfinite(value) ? display : JsonString(display);
}
