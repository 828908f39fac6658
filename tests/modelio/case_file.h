// The case files of the model tests (tests/data/modelio/*.txt): cases headed
// "== name", each a list of steps, one per line; the "|" lines after a step
// are its body. Steps that make files are shared by the runners.
#pragma once
#include <string>
#include <vector>

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

// Reads tests/data/modelio/<relative>; lines starting with "#" are comments.
// Steps before the first case begin every case.
std::vector<TestCase> ReadCases(const std::string& relative);

// Body text: escapes \n \r \t \0 \xNN \\ and {dir} replaced; each line ends
// in "\n" unless it ends in a lone "\".
std::string CaseText(const std::vector<std::string>& body, const std::string& dir);
// `text` with escapes and {dir} replaced, no line end added.
std::string CaseLine(const std::string& text, const std::string& dir);

// Carries out a step that makes files under `dir`; false for other steps.
//   > NAME [sjis]          the body as the file (Shift-JIS when asked)
//   png NAME W H [cut N]   image headers as the readers see them
//   bmp NAME W H [cut N]
//   tim NAME MODE X Y STORED_WIDTH H [cut N]
//   dir NAME               a folder
bool FileStep(const CaseStep& step, const std::u16string& dir);
