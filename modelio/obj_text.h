// Lines, tokens and numbers of OBJ and MTL text, shared by both readers.
// Every scanner here runs over a line that ends in '\n' and stops there, so
// no scanner needs a length check of its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace objtext {

enum ByteClass : uint8_t {
  kToken = 0,      // part of a token
  kSeparator = 1,  // space, tab, CR, 0x1E and ','
  kControl = 2,    // any other byte up to 0x20: ends a token, or is an empty token of its own
  kLineEnd = 3,    // '\n' (a NUL has been turned into one)
};

struct ByteClassTable {
  uint8_t of[256];
  constexpr ByteClassTable() : of() {
    for (int b = 0; b <= 0x20; ++b) of[b] = kControl;
    of[static_cast<unsigned char>(' ')] = kSeparator;
    of[static_cast<unsigned char>('\t')] = kSeparator;
    of[static_cast<unsigned char>('\r')] = kSeparator;
    of[0x1E] = kSeparator;
    of[static_cast<unsigned char>(',')] = kSeparator;
    of[static_cast<unsigned char>('\n')] = kLineEnd;
  }
};
inline constexpr ByteClassTable kByteClasses{};
inline uint8_t ClassOf(uint8_t b) {
  return kByteClasses.of[b];
}

struct Token {
  uint8_t* begin = nullptr;
  uint8_t* end = nullptr;
  size_t size() const { return static_cast<size_t>(end - begin); }
  bool Is(const char* word) const {
    size_t n = std::strlen(word);
    return size() == n && std::memcmp(begin, word, n) == 0;
  }
};

// The next token of the line. False at the line end. A Shift-JIS trail byte
// is never a separator, so double-byte characters need no case of their own.
inline bool NextToken(uint8_t*& p, Token& token) {
  while (ClassOf(*p) == kSeparator) ++p;
  uint8_t c = ClassOf(*p);
  if (c == kLineEnd) return false;
  token.begin = p;
  if (c == kControl) {  // a token that ends at its own first byte
    token.end = p++;
    return true;
  }
  while (ClassOf(*p) == kToken) ++p;
  token.end = p;
  if (ClassOf(*p) != kLineEnd) ++p;  // the byte that ended the token
  return true;
}

// Up to `max` tokens; returns how many the line has (counting those past `max`
// is not needed by any keyword).
inline int SplitTokens(uint8_t* p, Token* tokens, int max) {
  int n = 0;
  while (n < max && NextToken(p, tokens[n])) ++n;
  return n;
}

// Number of a token as the program reads decimal numbers everywhere: one
// leading '+', then the longest decimal number; nothing readable gives 0.
double ParseNumberSlow(const uint8_t* begin, const uint8_t* end);

// Clinger's fast path: when the significant digits fit in 53 bits and the
// power of ten is exact, one multiplication or division rounds correctly,
// which is the value the general reader gives. False sends the token there.
inline bool ParseNumberFast(uint8_t*& p, double& value) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const uint8_t* s = p;
  if (*s == '+') ++s;
  bool negative = *s == '-';
  if (negative) ++s;
  uint64_t mantissa = 0;
  const uint8_t* digits = s;
  while (static_cast<unsigned>(*s - '0') < 10) mantissa = mantissa * 10 + (*s++ - '0');
  int count = static_cast<int>(s - digits);
  int exponent = 0;
  if (*s == '.') {
    const uint8_t* fraction = ++s;
    while (static_cast<unsigned>(*s - '0') < 10) mantissa = mantissa * 10 + (*s++ - '0');
    exponent = -static_cast<int>(s - fraction);
    count -= exponent;
  }
  if (count == 0 || count > 19) return false;
  if (*s == 'e' || *s == 'E') {
    const uint8_t* e = s + 1;
    bool negative_exponent = *e == '-';
    if (*e == '+' || *e == '-') ++e;
    if (static_cast<unsigned>(*e - '0') < 10) {
      int written = 0;
      while (static_cast<unsigned>(*e - '0') < 10) {
        if (written < 100000) written = written * 10 + (*e - '0');
        ++e;
      }
      exponent += negative_exponent ? -written : written;
      s = e;
    }
  }
  if (mantissa == 0) {
    value = negative ? -0.0 : 0.0;
  } else {
    if (mantissa > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) return false;
    double m = static_cast<double>(mantissa);
    value = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
    if (negative) value = -value;
  }
  p = const_cast<uint8_t*>(s);
  return true;
}

// The next token read as a number, 0 when the line has none left.
inline float NextNumber(uint8_t*& p) {
  while (ClassOf(*p) == kSeparator) ++p;
  uint8_t c = ClassOf(*p);
  if (c == kLineEnd) return 0.0f;
  if (c == kControl) {
    ++p;
    return 0.0f;
  }
  uint8_t* begin = p;
  double value;
  bool fast = ParseNumberFast(p, value);
  while (ClassOf(*p) == kToken) ++p;
  if (!fast) value = ParseNumberSlow(begin, p);
  if (ClassOf(*p) != kLineEnd) ++p;
  return static_cast<float>(value);
}

// Prepares file bytes for the scanners: a NUL ends a line as '\n' does, and
// the text always ends in '\n'.
void PrepareText(std::vector<uint8_t>& text);

// Runs `on_line(begin, line_number)` for every line that is not a comment.
// A line longer than the limit (not counting CR LF) is cut there; the rest
// is skipped and `on_long_line(line_number)` is told. `on_line` returns false
// to stop.
template <typename OnLine, typename OnLongLine>
void ForEachLine(std::vector<uint8_t>& text, size_t max_line_bytes, OnLine&& on_line,
                 OnLongLine&& on_long_line) {
  uint8_t* p = text.data();
  uint8_t* end = p + text.size();
  int line_number = 0;
  while (p < end) {
    auto* eol = static_cast<uint8_t*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    ++line_number;
    size_t length = static_cast<size_t>(eol - p);
    if (length > 0 && eol[-1] == '\r') --length;
    uint8_t* next = eol + 1;
    if (length > max_line_bytes) {
      p[max_line_bytes] = '\n';
      on_long_line(line_number);
    }
    if (*p != '#' && !on_line(p, line_number)) return;
    p = next;
  }
}

// Shift-JIS bytes of a token as UTF-16, cut to `max_units`.
std::u16string TokenText(const Token& token, size_t max_units);

}  // namespace objtext
