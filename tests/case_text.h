// Reading the case files of the runners: words, escapes and hex.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_util.h"

// The sections of a case file: the title after "=== " and the lines below it.
using CaseSections = std::vector<std::pair<std::string, std::vector<std::string>>>;
CaseSections ReadCaseSections(const std::u16string& path);
// The words of a case line; "..." keeps blanks inside a word (the quotes go).
std::vector<std::string> CaseWords(const std::string& line);
// `line` without its first `words` words (each followed by one blank).
std::string CaseRest(const std::string& line, int words);
// A case text with its escapes \r \n \t \xHH and \c (drops the line end after
// it), UTF-8 everywhere else converted to Shift-JIS.
std::string CaseBytes(const std::string& text);
// A case text with \r \n \t expanded and {dir} (the case folder) and {sep}
// (the path separator) and {src} (the source tree, with a trailing slash)
// filled in; stays UTF-8.
std::string CaseText(const std::string& text, const std::u16string& folder);
std::vector<uint8_t> HexBytes(const std::string& hex);  // blanks and newlines skipped
std::string HexText(const std::vector<uint8_t>& bytes);
std::string HexTag(uint32_t tag);  // upper case, no 0x
// Appends one field of a record: "u16:N", "u32:N", "f32:X", "tUNITS:TEXT"
// (UTF-16, zero padded), "hex:..", "zeros:N", "size:FILE", "file:FILE"
// (FILE in `folder`) or "triangle" (the fixture's mesh).
void AppendCaseField(std::vector<uint8_t>& out, const std::string& field, const std::u16string& folder);
// A record stream from words: "@TAG" (hex) starts a record, field words
// fill it, "raw:HEX" adds bytes outside any record.
std::vector<uint8_t> CaseStream(const std::vector<std::string>& words, const std::u16string& folder);
// Runs a set-up line in `folder`: file NAME TEXT, append NAME TEXT, zeros
// NAME N, dir NAME, triangle NAME (the fixture's model), copy SOURCE NAME,
// edit FROM TO OLD => NEW, datafile NAME SEED STREAM-WORDS, flip NAME OFFSET,
// cut NAME SIZE. False when the line is none of these.
bool CaseSetUp(const std::string& line, const std::u16string& folder);
// Checks a line about `text` called `name`: "NAME TEXT" (holds it), NAME-lacks,
// NAME-is, NAME-starts, "NAME-count N TEXT"; or about files: exists NAME,
// absent NAME, same NAME TEXT. False when the line is none of these.
bool CaseCheck(const std::string& line, const std::string& name, const std::string& text, const std::u16string& folder);
