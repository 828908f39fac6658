// Shift-JIS (code page 932) <-> UTF-16, from one generated table so both
// builds read and write scripts alike, whatever the machine's code page.
#pragma once
#include <cstddef>
#include <string>

// True for the bytes that start a two-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsSjisTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Decodes `size` bytes. Every byte or pair the table does not map becomes
// U+FFFD (one per undecodable byte); `undecodable`, when given, counts them.
std::u16string SjisToUtf16(const char* bytes, size_t size, size_t* undecodable = nullptr);
inline std::u16string SjisToUtf16(const std::string& s, size_t* undecodable = nullptr) {
  return SjisToUtf16(s.data(), s.size(), undecodable);
}

// Encodes UTF-16 text. Returns false (and leaves `out` partly filled) when a
// character has no Shift-JIS form; `bad_index`, when given, gets its position.
bool Utf16ToSjis(const std::u16string& text, std::string& out, size_t* bad_index = nullptr);

// UTF-8 <-> UTF-16 for the file system, the project file and the terminal.
// Invalid UTF-8 bytes become U+FFFD; lone surrogates become U+FFFD in UTF-8.
std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);
