// ASCII letter case, as Windows ignores it in file names: only A-Z and a-z
// fold; every other unit (Shift-JIS bytes, UTF-16 beyond ASCII) stays.
#pragma once
#include <string>
#include <string_view>

// `c` with A-Z turned into a-z.
template <typename Char>
constexpr Char AsciiLower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c + 32) : c;
}

// `text` with A-Z turned into a-z.
template <typename Char>
std::basic_string<Char> AsciiLowered(std::basic_string_view<Char> text) {
  std::basic_string<Char> lowered(text);
  for (Char& c : lowered) c = AsciiLower(c);
  return lowered;
}
inline std::string AsciiLowered(const std::string& text) {
  return AsciiLowered<char>(text);
}
inline std::u16string AsciiLowered(const std::u16string& text) {
  return AsciiLowered<char16_t>(text);
}

// True when `a` and `b` have the same length and differ at most in the case
// of ASCII letters.
template <typename Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return EqualsIgnoringAsciiCase<char>(a, b);
}
inline bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return EqualsIgnoringAsciiCase<char16_t>(a, b);
}
