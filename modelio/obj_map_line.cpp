#include "modelio/obj_map_line.h"

#include <cstring>

namespace {

using objtext::NextToken;
using objtext::Token;

// Options of a texture map line and the words that follow each; -o, -s and
// -t take one to three numbers.
struct MapOption {
  const char* name;
  int words;
};
constexpr int kOneToThreeNumbers = -1;
constexpr MapOption kMapOptions[] = {
    {"-blendu", 1},
    {"-blendv", 1},
    {"-bm", 1},
    {"-boost", 1},
    {"-cc", 1},
    {"-clamp", 1},
    {"-imfchan", 1},
    {"-mm", 2},
    {"-texres", 1},
    {"-type", 1},
    {"-o", kOneToThreeNumbers},
    {"-s", kOneToThreeNumbers},
    {"-t", kOneToThreeNumbers},
};

const MapOption* FindOption(const Token& token) {
  if (token.size() < 2 || *token.begin != '-') return nullptr;
  for (const MapOption& option : kMapOptions)
    if (token.Is(option.name)) return &option;
  return nullptr;
}

// A decimal number and nothing else: sign, digits, point, exponent.
bool IsNumber(const Token& token) {
  const uint8_t* p = token.begin;
  const uint8_t* end = token.end;
  if (p < end && (*p == '+' || *p == '-')) ++p;
  int digits = 0;
  while (p < end && objtext::IsDigit(*p)) ++p, ++digits;
  if (p < end && *p == '.')
    for (++p; p < end && objtext::IsDigit(*p); ++p) ++digits;
  if (digits == 0) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    if (p == end || !objtext::IsDigit(*p)) return false;
    while (p < end && objtext::IsDigit(*p)) ++p;
  }
  return p == end;
}

// Skips the words of one option; the cursor stays before a word that is
// not the option's.
void SkipOptionWords(uint8_t*& p, const MapOption& option) {
  Token word;
  if (option.words != kOneToThreeNumbers) {
    for (int i = 0; i < option.words && NextToken(p, word); ++i) {
    }
    return;
  }
  NextToken(p, word);  // the first number is required
  for (int i = 0; i < 2; ++i) {
    uint8_t* next = p;
    if (!NextToken(next, word) || !IsNumber(word)) return;
    p = next;
  }
}

}  // namespace

Token MapFileName(uint8_t* p) {
  for (;;) {
    uint8_t* start = p;
    Token word;
    if (!NextToken(p, word)) return Token{p, p};
    const MapOption* option = FindOption(word);
    if (!option) return objtext::RestOfLine(start);
    SkipOptionWords(p, *option);
  }
}

bool IsColourMapKey(const Token& key) {
  if (key.size() != 6 || std::memcmp(key.begin, "map_", 4) != 0) return false;
  return (key.begin[4] | 0x20) == 'k' && (key.begin[5] | 0x20) == 'd';
}
