#include "platform/sjis.h"

#include <algorithm>

namespace {
#include "platform/sjis_table.inc"

int LeadRow(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }

char16_t DecodePair(unsigned char lead, unsigned char trail) {
  return kSjisDoubleByte[LeadRow(lead) * 192 + (trail - 0x40)];
}
}  // namespace

std::u16string SjisToUtf16(const char* bytes, size_t size, size_t* undecodable) {
  std::u16string out;
  out.reserve(size);
  size_t bad = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) {
    unsigned char b = p[i];
    if (b < 0x80) {
      out.push_back(b);
    } else if (b >= 0xA1 && b <= 0xDF) {
      out.push_back(static_cast<char16_t>(0xFF61 + (b - 0xA1)));
    } else if (IsSjisLeadByte(b) && i + 1 < size && IsSjisTrailByte(p[i + 1])) {
      char16_t c = DecodePair(b, p[i + 1]);
      if (c == 0) {
        // An unmapped pair: each byte counts as undecodable, and an ASCII
        // trail byte keeps its meaning.
        out.push_back(0xFFFD);
        ++bad;
        continue;
      }
      out.push_back(c);
      ++i;
    } else {
      out.push_back(0xFFFD);
      ++bad;
    }
  }
  if (undecodable) *undecodable = bad;
  return out;
}

bool Utf16ToSjis(const std::u16string& text, std::string& out, size_t* bad_index) {
  out.clear();
  out.reserve(text.size() * 2);
  constexpr size_t kCount = sizeof(kSjisEncode) / sizeof(kSjisEncode[0]);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0xFF61 && c <= 0xFF9F) {
      out.push_back(static_cast<char>(0xA1 + (c - 0xFF61)));
      continue;
    }
    const auto* end = kSjisEncode + kCount;
    const auto* it = std::lower_bound(kSjisEncode, end, c,
                                      [](const unsigned short* row, char16_t v) { return row[0] < v; });
    if (it == end || (*it)[0] != c) {
      if (bad_index) *bad_index = i;
      return false;
    }
    out.push_back(static_cast<char>((*it)[1] >> 8));
    out.push_back(static_cast<char>((*it)[1] & 0xFF));
  }
  return true;
}

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  size_t n = s.size();
  for (size_t i = 0; i < n;) {
    unsigned char b = p[i];
    char32_t cp;
    size_t len;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      len = 4;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    bool ok = i + len <= n;
    for (size_t k = 1; ok && k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    static const char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& s) {
  // Written in place into room for the longest result (three bytes a unit;
  // a pair of units gives four), then cut: paths are mostly ASCII, one store each.
  std::string out(s.size() * 3, '\0');
  char* p = out.data();
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp < 0x80) {
      *p++ = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x800) {
      *p++ = static_cast<char>(0xC0 | (cp >> 6));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (cp >> 12));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | (cp >> 18));
      *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}
