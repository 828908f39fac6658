#include "dialogs/dialog_numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

// The ASCII form of a character typed in full width; other characters stay.
char16_t AsciiForm(char16_t c) {
  if (c >= u'\uFF10' && c <= u'\uFF19') return static_cast<char16_t>(u'0' + (c - u'\uFF10'));
  switch (c) {
    case u'\uFF0B':
      return u'+';
    case u'\uFF0D':
    case u'\u2212':
      return u'-';
    case u'\uFF0E':
      return u'.';
    case u'\uFF45':
      return u'e';
    case u'\uFF25':
      return u'E';
    default:
      return c;
  }
}

// The ASCII text of a normalised number, or false when a character outside
// ASCII is left (no number then).
bool NarrowNumber(std::u16string_view text, std::string& out) {
  const std::u16string normal = NormaliseNumberText(text);
  out.clear();
  for (char16_t c : normal) {
    if (c >= 0x80) return false;
    out.push_back(static_cast<char>(c));
  }
  return true;
}

}  // namespace

std::u16string NormaliseNumberText(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::u16string out;
  out.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) out.push_back(AsciiForm(text[i]));
  return out;
}

bool ReadDialogFloat(std::u16string_view text, float& value) {
  std::string s;
  if (!NarrowNumber(text, s)) return false;
  if (s.empty()) {
    value = 0;
    return true;
  }
  const char* first = s.data();
  const char* last = s.data() + s.size();
  bool negative = false;
  if (*first == '+' || *first == '-') {
    negative = *first == '-';
    ++first;
  }
  // A second sign, "inf", "nan" and hexadecimal forms are no numbers here.
  if (first == last || !((*first >= '0' && *first <= '9') || *first == '.')) return false;
  float parsed = 0;
  auto r = std::from_chars(first, last, parsed, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != last || !std::isfinite(parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

bool ReadDialogInt(std::u16string_view text, int32_t& value) {
  std::string s;
  if (!NarrowNumber(text, s) || s.empty()) return false;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (*first == '+') {  // from_chars takes '-' only
    ++first;
    if (first == last || *first < '0' || *first > '9') return false;
  }
  int32_t parsed = 0;
  auto r = std::from_chars(first, last, parsed, 10);
  if (r.ec != std::errc() || r.ptr != last) return false;
  value = parsed;
  return true;
}

std::u16string FormatDialogFloat(float value, int width, int decimals) {
  char buf[400];  // the widest float with its decimals fits many times over
  auto r =
      std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, decimals);
  std::u16string out;
  const int length = static_cast<int>(r.ptr - buf);
  if (length < width) out.assign(static_cast<size_t>(width - length), u' ');
  for (const char* p = buf; p != r.ptr; ++p) out.push_back(static_cast<char16_t>(*p));
  return out;
}

std::u16string FormatDialogInt(int32_t value) {
  const std::string s = std::to_string(value);
  return std::u16string(s.begin(), s.end());
}
