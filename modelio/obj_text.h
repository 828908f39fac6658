// Lines, tokens and numbers of OBJ and MTL text, shared by both readers.
// Every scanner here runs over a line that ends in '\n' and stops there, so
// no scanner needs a length check of its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
inline bool NextToken(uint8_t*& cursor, Token& token) {
  uint8_t* p = cursor;
  while (ClassOf(*p) == kSeparator) ++p;
  uint8_t c = ClassOf(*p);
  if (c == kLineEnd) {
    cursor = p;
    return false;
  }
  token.begin = p;
  if (c == kControl) {  // a token that ends at its own first byte
    token.end = p;
    cursor = p + 1;
    return true;
  }
  while (ClassOf(*p) == kToken) ++p;
  token.end = p;
  if (ClassOf(*p) != kLineEnd) ++p;  // the byte that ended the token
  cursor = p;
  return true;
}

// Everything after the cursor up to the line end, with leading separators
// and trailing separators and control bytes removed: a name that may hold
// blanks. Empty (begin == end) when nothing is left.
inline Token RestOfLine(uint8_t* cursor) {
  uint8_t* p = cursor;
  while (ClassOf(*p) == kSeparator) ++p;
  uint8_t* end = p;
  while (ClassOf(*end) != kLineEnd) ++end;
  while (end > p && ClassOf(end[-1]) != kToken) --end;
  return Token{p, end};
}

// The first token of a name as NextToken would cut it: up to the first byte
// that is not a token byte.
inline size_t FirstWordSize(const uint8_t* name, size_t size) {
  size_t n = 0;
  while (n < size && ClassOf(name[n]) == kToken) ++n;
  return n;
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

// Bytes after the text that 8-byte loads near its end may touch.
constexpr size_t kTextPadding = 16;

inline uint32_t Load4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline uint64_t Load8(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// The value of the `count` decimal digits at `p`, 1 <= count <= 4, with
// 32-bit arithmetic. A byte below '0' after them borrows only from the
// bytes above it, which the shift drops.
inline uint32_t DigitsValue4(const uint8_t* p, int count) {
  uint32_t t;
  std::memcpy(&t, p, 4);
  t -= 0x30303030u;
  t <<= (4 - count) * 8;  // the digits move up; leading zeros come in below
  t = t * 10 + (t >> 8);  // two-digit values in bytes 0 and 2
  return ((t & 0x00FF00FFu) * (1 + (100u << 16))) >> 16;
}

// The value of the `count` decimal digits in the low bytes of `bytes`
// (the first digit lowest), 1 <= count <= 8, whatever the bytes above them.
inline uint32_t DigitBytesValue8(uint64_t bytes, int count) {
  uint64_t t = bytes - 0x3030303030303030ULL;
  t <<= (8 - count) * 8;
  t = t * 10 + (t >> 8);
  t = (((t & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
       (((t >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
      32;
  return static_cast<uint32_t>(t);
}

// The same for 1 <= count <= 8 digits at `p`, eight bytes at a time.
inline uint32_t DigitsValue8(const uint8_t* p, int count) {
  return DigitBytesValue8(Load8(p), count);
}

// The value of 1 to 8 digits: most indices and short fractions take the
// 32-bit way.
inline uint32_t DigitsValue(const uint8_t* p, int count) {
  return count <= 4 ? DigitsValue4(p, count) : DigitsValue8(p, count);
}

// The run of decimal digits that starts at `p`, up to 8 of them: returns how
// many there are and sets their value.
inline int LeadingDigits8(const uint8_t* p, uint32_t& value) {
  uint64_t t = Load8(p) - 0x3030303030303030ULL;
  uint64_t non_digit = ((t + 0x7676767676767676ULL) | t) & 0x8080808080808080ULL;
  int count = non_digit ? __builtin_ctzll(non_digit) >> 3 : 8;
  value = count == 0 ? 0 : DigitsValue8(p, count);
  return count;
}

// Bit i set where byte i of the sixteen at `p` is a decimal digit; the bits
// above 15 are clear. One mask serves every digit run of a number or a face
// corner.
inline unsigned DigitMask16(const uint8_t* p) {
#if defined(__SSE2__)
  const __m128i t = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), _mm_set1_epi8('0'));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(9)), t)));
#else
  unsigned mask = 0;
  for (int i = 0; i < 16; ++i) mask |= (static_cast<unsigned>(p[i] - '0') < 10 ? 1u : 0u) << i;
  return mask;
#endif
}

// Length of the run of digits at byte `from` (at most 16) of DigitMask16's
// mask; a run that reaches the sixteenth byte is cut there, so a caller
// looks at the byte after the run before trusting it.
inline int RunLength(unsigned digits, int from) {
  return __builtin_ctz(~(digits >> from));
}

inline bool IsDigit(uint8_t b) {
  return static_cast<unsigned>(b - '0') < 10;
}

// Clinger's fast path: when the significant digits fit in 53 bits and the
// power of ten is exact, one multiplication or division rounds correctly,
// which is the value the general reader gives. False sends the token there.
__attribute__((always_inline)) inline bool ParseNumberFast(uint8_t*& p, double& value) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  static constexpr uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  const uint8_t* s = p;
  if (*s == '+') ++s;
  bool negative = *s == '-';
  if (negative) ++s;
  // The whole part is short in model files; the fraction is read eight
  // digits at a time. A wrapped mantissa is never used: past 19 digits the
  // general reader takes over.
  const uint8_t* digits = s;
  uint64_t mantissa = 0;
  while (IsDigit(*s)) mantissa = mantissa * 10 + (*s++ - '0');
  int count = static_cast<int>(s - digits);
  int exponent = 0;
  if (*s == '.') {
    const uint8_t* fraction = ++s;
    uint32_t part;
    int n = LeadingDigits8(s, part);
    mantissa = mantissa * kScale[n] + part;
    s += n;
    if (n == 8)
      while (IsDigit(*s)) mantissa = mantissa * 10 + (*s++ - '0');
    exponent = -static_cast<int>(s - fraction);
    count -= exponent;
  }
  if (count == 0 || count > 19) return false;
  if (*s == 'e' || *s == 'E') {
    const uint8_t* e = s + 1;
    bool negative_exponent = *e == '-';
    if (*e == '+' || *e == '-') ++e;
    if (IsDigit(*e)) {
      int written = 0;
      while (IsDigit(*e)) {
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

// The shape nearly every exported number has: an optional '-', up to seven
// whole digits, '.', up to eight fraction digits, and the token's end (or
// any such number of up to eight digits in all). At most fifteen digits in
// all, so the significand is exact in a double and
// one division by an exact power of ten rounds correctly: the value the
// general reader gives. Both digit runs are found with one sixteen-byte
// mask and read eight bytes at a time (the text's padding covers the
// loads). False leaves `p` alone.
__attribute__((always_inline)) inline bool ParseShortDecimal(uint8_t*& p, double& value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  static constexpr uint32_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  static constexpr double kSign[] = {1.0, -1.0};  // exact, and -0.0 for "-0.0"
  // The low `n` bytes of eight set, for n = 0 ... 8.
  static constexpr uint64_t kLowBytes[] = {0,
                                           0xFF,
                                           0xFFFF,
                                           0xFFFFFF,
                                           0xFFFFFFFF,
                                           0xFFFFFFFFFFULL,
                                           0xFFFFFFFFFFFFULL,
                                           0xFFFFFFFFFFFFFFULL,
                                           0xFFFFFFFFFFFFFFFFULL};
  const uint8_t* s = p;
  const bool negative = *s == '-';
  s += negative;
  const unsigned digits = DigitMask16(s);
  // Counts unsigned: no sign extension where they index.
  const size_t whole_digits = static_cast<unsigned>(RunLength(digits, 0));
  if (s[whole_digits] != '.') return false;
  const size_t fraction_digits = static_cast<unsigned>(RunLength(digits, static_cast<int>(whole_digits) + 1));
  const uint8_t* end = s + whole_digits + 1 + fraction_digits;
  // A run cut at the sixteenth byte ends in a digit, a token byte.
  if (ClassOf(*end) == kToken) return false;
  int64_t significand;
  const size_t all_digits = whole_digits + fraction_digits;
  if (all_digits - 1 < 8) {
    // Most numbers, 1 to 8 digits: the whole digits and the fraction digits
    // (the bytes one further on) joined into eight bytes without the '.',
    // read as one run.
    const uint64_t whole_bytes = kLowBytes[whole_digits];
    significand = DigitBytesValue8((Load8(s) & whole_bytes) | (Load8(s + 1) & ~whole_bytes),
                                   static_cast<int>(all_digits));
  } else {
    if (whole_digits > 7 || fraction_digits > 8 || all_digits == 0) return false;
    const uint32_t whole = whole_digits == 1 ? s[0] - '0'
                           : whole_digits    ? DigitsValue(s, static_cast<int>(whole_digits))
                                             : 0;
    const uint32_t fraction =
        fraction_digits ? DigitsValue(s + whole_digits + 1, static_cast<int>(fraction_digits)) : 0;
    significand = int64_t{whole} * kScale[fraction_digits] + fraction;
  }
  // Below 2^53, so the signed conversion (one instruction) is exact.
  value = static_cast<double>(significand) / kPowers[fraction_digits] * kSign[negative];
  p = const_cast<uint8_t*>(end);
  return true;
}

// Any other number token, from its first byte; moves past the token and the
// byte that ended it.
float NextNumberGeneral(uint8_t*& cursor);

// The next token read as a number, 0 when the line has none left.
__attribute__((always_inline)) inline float NextNumber(uint8_t*& cursor) {
  uint8_t* p = cursor;  // a local the compiler keeps in a register
  while (ClassOf(*p) == kSeparator) ++p;
  double value;
  if (!ParseShortDecimal(p, value)) {
    cursor = p;
    return NextNumberGeneral(cursor);
  }
  if (ClassOf(*p) != kLineEnd) ++p;
  cursor = p;
  return static_cast<float>(value);
}

// Prepares file bytes (a vector of bytes) for the scanners: a NUL ends a
// line as '\n' does, the text ends in '\n', and padding follows. Returns the
// length of the text.
template <typename Text>
size_t PrepareText(Text& text) {
  uint8_t* p = text.data();
  uint8_t* end = p + text.size();
  while (p < end) {
    auto* nul = static_cast<uint8_t*>(std::memchr(p, 0, static_cast<size_t>(end - p)));
    if (!nul) break;
    *nul = '\n';
    p = nul + 1;
  }
  if (text.empty() || text.back() != '\n') text.push_back('\n');
  size_t length = text.size();
  text.resize(length + kTextPadding, '\n');
  return length;
}

// The '\n' that ends the line at `p`. The text ends in '\n' and the padding
// follows it, so sixteen bytes at a time never read past the buffer.
inline uint8_t* FindLineEnd(uint8_t* p, uint8_t* end) {
#if defined(__SSE2__)
  (void)end;
  const __m128i line_end = _mm_set1_epi8('\n');
  for (;; p += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, line_end));
    if (found) return p + __builtin_ctz(static_cast<unsigned>(found));
  }
#else
  return static_cast<uint8_t*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
#endif
}

// Prepares the text and runs `on_line(begin, line_number)` for every line
// that is not a comment. A line longer than the limit (not counting CR LF) is cut there; the rest
// is skipped and `on_long_line(line_number)` is told. `on_line` returns false
// to stop.
// `fast_line(begin, line_number)` is tried first on every line: it returns
// the start of the next line when it has read the whole line, which it
// does only for a line it can tell is not longer than the limit, or null
// when it has changed nothing and the line goes the way above.
template <typename Text, typename FastLine, typename OnLine, typename OnLongLine>
void ForEachLine(Text& text, size_t max_line_bytes, FastLine&& fast_line, OnLine&& on_line,
                 OnLongLine&& on_long_line) {
  const size_t length = PrepareText(text);  // may move the bytes
  uint8_t* p = text.data();
  uint8_t* end = p + length;
  int line_number = 0;
  while (p < end) {
    ++line_number;
    if (uint8_t* after = fast_line(p, line_number)) {
      p = after;
      continue;
    }
    uint8_t* eol = FindLineEnd(p, end);
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

// The same without a fast path.
template <typename Text, typename OnLine, typename OnLongLine>
void ForEachLine(Text& text, size_t max_line_bytes, OnLine&& on_line, OnLongLine&& on_long_line) {
  ForEachLine(
      text, max_line_bytes, [](uint8_t*, int) -> uint8_t* { return nullptr; }, on_line, on_long_line);
}

// Shift-JIS bytes of a token as UTF-16, cut to `max_units`.
std::u16string TokenText(const Token& token, size_t max_units);

// The same bytes read as UTF-8, which some modelers write on every system.
// False when they are not valid UTF-8 or are plain ASCII (which reads alike
// either way): then the Shift-JIS reading is the only one.
bool TokenTextUtf8(const Token& token, size_t max_units, std::u16string& text);

}  // namespace objtext
