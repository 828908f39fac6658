// The one reader of the case files under tests/data: lines, sections, tab
// rows, step lists, words, escapes and hex; and the set-up and check lines
// the runners share.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_util.h"

// The lines of a case file, line ends (LF or CRLF) taken off.
std::vector<std::string> CaseFileLines(const std::u16string& path);

// Escapes of every case file: \r \n \t \0 \xHH \uXXXX \UXXXXXXXX (as UTF-8),
// \\ for a backslash and \c (drops the line end after it); any other
// backslash stays as it is.
std::string Unescape(const std::string& text);

// The sections of a case file: the title after `marker` and the lines below it.
using CaseSections = std::vector<std::pair<std::string, std::vector<std::string>>>;
CaseSections ReadCaseSections(const std::u16string& path, const std::string& marker = "=== ");

// The rows of tests/data/RELATIVE: tab-separated cells, unescaped; blank
// lines and "#" comments skipped; a cell "" is the empty cell.
std::vector<std::vector<std::string>> CaseRows(const std::string& relative);
// Runs the rows of tests/data/RELATIVE: "kind<TAB>inputs...<TAB>expected"
// (runs of tabs separate cells). The function of the kind turns the inputs
// into the text that must equal the expected cell.
using CaseFields = std::vector<std::string>;
using CaseKinds = std::map<std::string, std::function<std::string(const CaseFields& inputs)>>;
void RunCaseFile(const std::string& relative, const CaseKinds& kinds);

// Step lists (tests/data/modelio/*.txt): cases headed "== name", each a list
// of steps, one per line; the "|" lines after a step are its body ("*N|text"
// stands for N of them). Steps before the first case begin every case.
struct CaseStep {
  int line = 0;
  std::vector<std::string> words;  // the step line split at blanks
  std::string rest;                // the line after its first word
  std::vector<std::string> body;   // its "|" lines without the "|", repeats expanded
  // Word `i` as a number (0 when missing).
  double Number(size_t i) const;
  // Word `i`, or "" when missing.
  std::string Word(size_t i) const;
};
struct TestCase {
  std::string name;
  std::vector<CaseStep> steps;
};
std::vector<TestCase> ReadCases(const std::string& relative);  // below tests/data/modelio/

// The words of a case line; "..." keeps blanks inside a word (the quotes go).
std::vector<std::string> CaseWords(const std::string& line);
// `line` without its first `words` words (each followed by one blank).
std::string CaseRest(const std::string& line, int words);
// A case text unescaped, UTF-8 between the escapes converted to Shift-JIS.
std::string CaseBytes(const std::string& text);
// A case text unescaped, with {dir} (the case folder), {sep} (the path
// separator) and {src} (the source tree, with a trailing slash) filled in.
std::string CaseText(const std::string& text, const std::u16string& folder);
// Body lines as one text: each ends in "\n" unless it ends in a lone "\".
std::string CaseText(const std::vector<std::string>& body, const std::u16string& folder);
std::vector<uint8_t> HexBytes(const std::string& hex);  // blanks and newlines skipped
std::string HexText(const std::vector<uint8_t>& bytes);
std::string HexTag(uint32_t tag);  // upper case, no 0x
// Appends one field of a record: "u16:N", "u32:N", "f32:X", "tUNITS:TEXT"
// (UTF-16, zero padded), "ascii:TEXT", "hex:..", "zeros:N", "size:FILE",
// "file:FILE" (FILE in `folder`), "triangle[:SCALE]" (the fixture's mesh),
// "mesh:SCALE" (its size, then the mesh) or "at:OFFSET=BYTE" (a byte already
// appended replaced; a negative offset counts from the end).
void AppendCaseField(std::vector<uint8_t>& out, const std::string& field, const std::u16string& folder);
// A record stream from words: "@TAG" (hex) starts a record, field words
// fill it, "raw:HEX" adds bytes outside any record.
std::vector<uint8_t> CaseStream(const std::vector<std::string>& words, const std::u16string& folder);
// Runs a set-up line in `folder`: file NAME TEXT, append NAME TEXT, zeros
// NAME N, dir NAME, triangle NAME (the fixture's model), copy SOURCE NAME,
// edit FROM TO OLD => NEW, datafile NAME SEED STREAM-WORDS, flip NAME OFFSET,
// cut NAME SIZE. False when the line is none of these.
bool CaseSetUp(const std::string& line, const std::u16string& folder);
// Carries out a step that makes files under `dir`; false for other steps.
//   > NAME [sjis]          the body as the file (Shift-JIS when asked)
//   png NAME W H [cut N]   image headers as the readers see them
//   bmp NAME W H [cut N]
//   tim NAME MODE X Y STORED_WIDTH H [cut N]
//   dir NAME               a folder
bool FileStep(const CaseStep& step, const std::u16string& dir);
// Checks a line about `text` called `name`: "NAME TEXT" (holds it), NAME-lacks,
// NAME-is, NAME-starts, "NAME-count N TEXT"; or about files: exists NAME,
// absent NAME, same NAME TEXT. False when the line is none of these.
bool CaseCheck(const std::string& line, const std::string& name, const std::string& text, const std::u16string& folder);
