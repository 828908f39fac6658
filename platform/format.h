// printf-style formatting of UTF-16 messages, the same on every build and in
// every locale (the C library's wide printf differs between them).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// One argument of a message: a UTF-16 text or an integer.
struct FormatArg {
  enum Kind { kText, kSigned, kUnsigned } kind;
  const char16_t* text = nullptr;
  int64_t number = 0;
  FormatArg(const char16_t* t) : kind(kText), text(t) {}
  FormatArg(const std::u16string& t) : kind(kText), text(t.c_str()) {}
  FormatArg(int v) : kind(kSigned), number(v) {}
  FormatArg(int64_t v) : kind(kSigned), number(v) {}
  FormatArg(uint32_t v) : kind(kUnsigned), number(v) {}
};

// Longest formatted message in UTF-16 units; the rest of a longer one is cut.
constexpr size_t kFormatMaxUnits = 65535;

// Formats `format`: %s a text, %d a signed decimal (an unsigned argument
// prints as it is), %u the low 32 bits as unsigned decimal, %x and %X the
// low 32 bits in hexadecimal, %% a percent sign; any other letter prints as
// %u. A conversion whose argument is missing or of the other kind (a number
// for %s, a text for a number) prints nothing. The result holds at most
// kFormatMaxUnits units.
std::u16string FormatText(const char16_t* format, const FormatArg* args, size_t count);
