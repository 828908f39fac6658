// Reading the case files of the runners: words, escapes and hex.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/test_util.h"

// The words of a case line; "..." keeps blanks inside a word (the quotes go).
std::vector<std::string> CaseWords(const std::string& line);
// A case text with its escapes \r \n \t \xHH and \c (drops the line end after
// it), UTF-8 everywhere else converted to Shift-JIS.
std::string CaseBytes(const std::string& text);
// A case text with \r \n \t expanded and {dir} (the case folder) and {sep}
// (the path separator) filled in; stays UTF-8.
std::string CaseText(const std::string& text, const std::u16string& folder);
std::vector<uint8_t> HexBytes(const std::string& hex);  // blanks and newlines skipped
std::string HexText(const std::vector<uint8_t>& bytes);
std::string HexTag(uint32_t tag);  // upper case, no 0x
