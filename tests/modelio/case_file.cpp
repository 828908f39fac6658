#include "tests/modelio/case_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"
#include "tests/test_util.h"

double CaseStep::Number(size_t i) const {
  return i < words.size() ? std::strtod(words[i].c_str(), nullptr) : 0;
}
std::string CaseStep::Word(size_t i) const {
  return i < words.size() ? words[i] : "";
}

std::vector<TestCase> ReadCases(const std::string& relative) {
  std::istringstream in(ReadTestFile(SourcePath("tests/data/modelio/" + relative)));
  std::vector<TestCase> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("== ", 0) == 0) {
      cases.push_back({line.substr(3) + " (" + relative + ":" + std::to_string(number) + ")", {}});
    } else if (line[0] == '|' || line[0] == '*') {
      // "*N|text" stands for N lines "|text".
      size_t bar = line.find('|');
      int times = line[0] == '*' ? std::atoi(line.c_str() + 1) : 1;
      EXPECT_FALSE(cases.empty() || cases.back().steps.empty()) << relative << ":" << number;
      for (int i = 0; i < times; ++i) cases.back().steps.back().body.push_back(line.substr(bar + 1));
    } else {
      CaseStep step;
      step.line = number;
      std::istringstream words(line);
      for (std::string w; words >> w;) step.words.push_back(w);
      size_t blank = line.find(' ');
      step.rest = blank == std::string::npos ? "" : line.substr(blank + 1);
      if (cases.empty()) cases.push_back({"", {}});  // steps shared by every case
      cases.back().steps.push_back(step);
    }
  }
  if (!cases.empty() && cases[0].name.empty()) {
    const std::vector<CaseStep> shared = cases[0].steps;
    cases.erase(cases.begin());
    for (TestCase& c : cases) c.steps.insert(c.steps.begin(), shared.begin(), shared.end());
  }
  return cases;
}

std::string CaseLine(const std::string& text, const std::string& dir) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 5, "{dir}") == 0) {
      out += dir;
      i += 4;
    } else if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else {
      const char c = text[++i];
      if (c == 'x') {
        out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
      } else {
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c;
      }
    }
  }
  return out;
}

std::string CaseText(const std::vector<std::string>& body, const std::string& dir) {
  std::string out;
  for (const std::string& line : body) {
    const bool joined =
        !line.empty() && line.back() == '\\' && (line.size() < 2 || line[line.size() - 2] != '\\');
    out += CaseLine(joined ? line.substr(0, line.size() - 1) : line, dir) + (joined ? "" : "\n");
  }
  return out;
}

namespace {
void PutLittleEndian(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}
}  // namespace

bool FileStep(const CaseStep& step, const std::u16string& dir) {
  const std::string& kind = step.words[0];
  const std::u16string path = dir + U16(CaseLine(step.Word(1), ""));  // "\x20" for a blank
  std::string bytes;
  auto n = [&](size_t i) { return static_cast<uint32_t>(static_cast<int64_t>(step.Number(i))); };
  if (kind == "dir") return FsCreateDirectory(path), true;
  if (kind == ">") {
    bytes = CaseText(step.body, U8(dir));
    if (step.Word(2) == "sjis") bytes = Sjis(bytes);
  } else if (kind == "png") {
    bytes = PngHeader(n(2), n(3));
  } else if (kind == "bmp") {
    bytes = "BM";
    for (uint32_t v : {58u, 0u, 54u, 40u, n(2), n(3)}) PutLittleEndian(bytes, v, 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 24, 2);
    bytes.resize(58, '\0');
  } else if (kind == "tim") {
    for (uint32_t v : {0x10u, n(2), 16u}) PutLittleEndian(bytes, v, 4);
    for (size_t i = 3; i < 7; ++i) PutLittleEndian(bytes, n(i), 2);
    bytes.resize(bytes.size() + 4, '\0');
  } else {
    return false;
  }
  for (size_t i = 2; i + 1 < step.words.size(); ++i)
    if (step.words[i] == "cut") bytes.resize(n(i + 1));
  WriteTestFile(path, bytes);
  return true;
}
