#include "tests/case_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "compiler/data_file.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

std::vector<std::string> CaseFileLines(const std::u16string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadTestFile(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a checkout with Windows line ends
    lines.push_back(line);
  }
  return lines;
}

namespace {
// Unescapes `text`; `plain` converts the text between the escapes.
template <class Convert>
std::string Expand(const std::string& text, Convert plain) {
  std::string out, run;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : 0;
    if (text[i] != '\\' || next == 0 || std::string("rnt0xuUc\\").find(next) == std::string::npos) {
      run += text[i];
      continue;
    }
    out += plain(run);
    run.clear();
    ++i;
    if (next == 'x' || next == 'u' || next == 'U') {
      const size_t digits = next == 'x' ? 2 : next == 'u' ? 4 : 8;
      const uint32_t code = uint32_t(std::stoul(text.substr(i + 1, digits), nullptr, 16));
      if (next == 'x') {
        out += char(code);
      } else {
        out += U8(code > 0xFFFF ? std::u16string{char16_t(0xD7C0 + (code >> 10)), char16_t(0xDC00 + (code & 0x3FF))}
                                : std::u16string(1, char16_t(code)));
      }
      i += digits;
    } else if (next == 'c') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next == '0' ? '\0' : '\\';
    }
  }
  return out + plain(run);
}
std::string Same(const std::string& text) { return text; }
}  // namespace

std::string Unescape(const std::string& text) { return Expand(text, Same); }

CaseSections ReadCaseSections(const std::u16string& path, const std::string& marker) {
  CaseSections out;
  for (const std::string& line : CaseFileLines(path)) {
    if (line.rfind(marker, 0) == 0) out.push_back({line.substr(marker.size()), {}});
    else if (!out.empty()) out.back().second.push_back(line);
  }
  return out;
}

namespace {
// The rows of a case table with the line number of each; cells raw.
std::vector<std::pair<int, std::vector<std::string>>> RawRows(const std::string& relative) {
  std::vector<std::pair<int, std::vector<std::string>>> rows;
  int number = 0;
  for (const std::string& line : CaseFileLines(SourcePath("tests/data/" + relative))) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    rows.push_back({number, {}});
    for (size_t cell = 0, tab;; cell = tab + 1) {
      tab = std::min(line.find('\t', cell), line.size());
      rows.back().second.push_back(line.substr(cell, tab - cell));
      if (tab == line.size()) break;
    }
  }
  return rows;
}
// A cell unescaped; "" is the empty cell.
std::string Cell(const std::string& raw) { return raw == "\"\"" ? "" : Unescape(raw); }
}  // namespace

std::vector<std::vector<std::string>> CaseRows(const std::string& relative) {
  std::vector<std::vector<std::string>> rows;
  for (auto& [number, cells] : RawRows(relative)) {
    for (std::string& cell : cells) cell = Cell(cell);
    rows.push_back(cells);
  }
  return rows;
}

void RunCaseFile(const std::string& relative, const CaseKinds& kinds) {
  int cases = 0;
  for (const auto& [number, cells] : RawRows(relative)) {
    CaseFields fields;
    for (const std::string& cell : cells)
      if (!cell.empty()) fields.push_back(Cell(cell));
    if (fields.size() < 2 || !kinds.count(fields[0])) {
      ADD_FAILURE() << relative << ":" << number << ": no such kind of case";
      continue;
    }
    EXPECT_EQ(kinds.at(fields[0])(CaseFields(fields.begin() + 1, fields.end() - 1)), fields.back())
        << relative << ":" << number;
    ++cases;
  }
  EXPECT_GT(cases, 0) << relative;
}

double CaseStep::Number(size_t i) const { return i < words.size() ? std::strtod(words[i].c_str(), nullptr) : 0; }
std::string CaseStep::Word(size_t i) const { return i < words.size() ? words[i] : ""; }

std::vector<TestCase> ReadCases(const std::string& relative) {
  std::vector<TestCase> cases;
  int number = 0;
  for (const std::string& line : CaseFileLines(SourcePath("tests/data/modelio/" + relative))) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("== ", 0) == 0) {
      cases.push_back({line.substr(3) + " (" + relative + ":" + std::to_string(number) + ")", {}});
    } else if (line[0] == '|' || line[0] == '*') {
      const int times = line[0] == '*' ? std::atoi(line.c_str() + 1) : 1;
      EXPECT_FALSE(cases.empty() || cases.back().steps.empty()) << relative << ":" << number;
      for (int i = 0; i < times; ++i) cases.back().steps.back().body.push_back(line.substr(line.find('|') + 1));
    } else {
      CaseStep step;
      step.line = number;
      std::istringstream words(line);
      for (std::string w; words >> w;) step.words.push_back(w);
      step.rest = CaseRest(line, 1);
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

std::vector<std::string> CaseWords(const std::string& line) {
  std::vector<std::string> words;
  bool in_word = false, quoted = false;
  for (char ch : line) {
    if (ch == '"') {
      quoted = !quoted;
      if (!in_word) words.emplace_back();
      in_word = true;
    } else if (!quoted && (ch == ' ' || ch == '\t' || ch == '\r')) {
      in_word = false;
    } else {
      if (!in_word) words.emplace_back();
      in_word = true, words.back() += ch;
    }
  }
  return words;
}

std::string CaseRest(const std::string& line, int words) {
  size_t at = 0;
  for (int i = 0; i < words; ++i) {
    const size_t blank = line.find(' ', at);
    if (blank == std::string::npos) return "";
    at = blank + 1;
  }
  return line.substr(at);
}

std::string CaseBytes(const std::string& text) {
  return Expand(text, [](const std::string& utf8) { return Sjis(utf8); });
}

std::string CaseText(const std::string& text, const std::u16string& folder) {
  std::string out = Unescape(text);
  for (const auto& [name, value] : {std::pair<std::string, std::string>{"{dir}", U8(folder)},
                                    {"{sep}", U8(std::u16string(1, FsSeparator()))},
                                    {"{src}", U8(SourcePath(""))}})
    for (size_t at; (at = out.find(name)) != std::string::npos;) out.replace(at, name.size(), value);
  return out;
}

std::string CaseText(const std::vector<std::string>& body, const std::u16string& folder) {
  std::string out;
  for (const std::string& line : body) {
    const bool joined = !line.empty() && line.back() == '\\' && (line.size() < 2 || line[line.size() - 2] != '\\');
    out += CaseText(joined ? line.substr(0, line.size() - 1) : line, folder) + (joined ? "" : "\n");
  }
  return out;
}

std::vector<uint8_t> HexBytes(const std::string& hex) {
  std::vector<uint8_t> out;
  std::string digits;
  for (char ch : hex)
    if (std::isxdigit(static_cast<unsigned char>(ch))) digits += ch;
  for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(uint8_t(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

std::string HexText(const std::vector<uint8_t>& bytes) {
  std::string out;
  for (uint8_t b : bytes) out += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
  return out;
}

std::string HexTag(uint32_t tag) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", tag);
  return text;
}

void AppendCaseField(std::vector<uint8_t>& out, const std::string& field, const std::u16string& folder) {
  const size_t colon = field.find(':');
  const std::string kind = field.substr(0, colon), value = colon == std::string::npos ? "" : field.substr(colon + 1);
  Bytes b;
  if (kind == "u16") b.U16(uint16_t(std::stoll(value, nullptr, 0)));
  else if (kind == "u32") b.U32(uint32_t(std::stoll(value, nullptr, 0)));
  else if (kind == "f32") b.F32(std::stof(value));
  else if (kind == "triangle") b.Raw(value.empty() ? TriangleMesh() : TriangleMesh(std::stof(value)));
  else if (kind == "mesh") b.U32(uint32_t(TriangleMesh(std::stof(value)).size())).Raw(TriangleMesh(std::stof(value)));
  else if (kind == "ascii") b.Raw(std::vector<uint8_t>(value.begin(), value.end()));
  else if (kind == "at") {
    const long at = std::stol(value);  // a byte of what came before; negative: from the end
    out.at(at < 0 ? out.size() + at : size_t(at)) = uint8_t(std::stoi(value.substr(value.find('=') + 1)));
  }
  else if (kind[0] == 't') b.Text(U16(value), std::stoul(kind.substr(1)));
  else if (kind == "hex") b.Raw(HexBytes(value));
  else if (kind == "zeros") b.Raw(std::vector<uint8_t>(std::stoul(value), 0));
  else if (kind == "size") b.U32(uint32_t(ReadTestFile(folder + U16(value)).size()));
  else if (kind == "file") {
    const std::string bytes = ReadTestFile(folder + U16(value));
    b.Raw(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  } else {
    ADD_FAILURE() << "unknown field " << field;
  }
  out.insert(out.end(), b.data.begin(), b.data.end());
}

std::vector<uint8_t> CaseStream(const std::vector<std::string>& words, const std::u16string& folder) {
  std::vector<uint8_t> stream;
  size_t length_at = 0;  // of the open record; 0: none
  auto close = [&] {
    for (size_t i = 0; length_at && i < 4; ++i) stream[length_at + i] = uint8_t((stream.size() - length_at - 4) >> (8 * i));
    length_at = 0;
  };
  for (const std::string& w : words) {
    const bool raw = w.rfind("raw:", 0) == 0;
    if (raw || w[0] == '@') close();
    if (w[0] == '@') {
      AppendCaseField(stream, "u32:0x" + w.substr(1), folder);
      length_at = stream.size();
    }
    AppendCaseField(stream, w[0] == '@' ? "u32:0" : raw ? "hex:" + w.substr(4) : w, folder);
  }
  close();
  return stream;
}

bool CaseSetUp(const std::string& line, const std::u16string& folder) {
  const std::vector<std::string> w = CaseWords(line);
  if (w.size() < 2) return false;
  const std::string& op = w[0];
  const std::u16string path = folder + U16(w[1]);
  if (op == "file" || op == "append") {
    WriteTestFile(path, (op == "append" ? ReadTestFile(path) : "") + CaseBytes(CaseRest(line, 2)));
  } else if (op == "zeros") {
    WriteTestFile(path, ReadTestFile(path) + std::string(std::stoul(w[2]), '\0'));
  } else if (op == "dir") {
    FsCreateDirectory(path);
  } else if (op == "triangle") {
    WriteTriangleModel(folder, w[1]);
  } else if (op == "copy") {
    WriteTestFile(folder + U16(w[2]), ReadTestFile(SourcePath(w[1])));
  } else if (op == "edit") {
    std::string text = ReadTestFile(path);
    const std::string change = CaseRest(line, 3), old = change.substr(0, change.find(" => "));
    const size_t at = text.find(old);
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos) WriteTestFile(folder + U16(w[2]), text.replace(at, old.size(), change.substr(old.size() + 4)));
  } else if (op == "datafile") {
    const std::vector<uint8_t> stream = CaseStream(std::vector<std::string>(w.begin() + 3, w.end()), folder);
    const std::vector<uint8_t> file = BuildDataFile(stream.data(), stream.size(), std::stoul(w[2]));
    WriteTestFile(path, std::string(file.begin(), file.end()));
  } else if (op == "flip" || op == "cut") {
    std::string bytes = ReadTestFile(path);
    if (op == "flip") bytes[std::stoul(w[2])] ^= 1;
    bytes.resize(op == "cut" ? std::stoul(w[2]) : bytes.size());
    WriteTestFile(path, bytes);
  } else {
    return false;
  }
  return true;
}

bool FileStep(const CaseStep& step, const std::u16string& dir) {
  const std::string& kind = step.words[0];
  const std::u16string path = dir + U16(CaseText(step.Word(1), u""));  // "\x20" for a blank
  std::string bytes;
  auto n = [&](size_t i) { return static_cast<uint32_t>(static_cast<int64_t>(step.Number(i))); };
  if (kind == "dir") return FsCreateDirectory(path), true;
  if (kind == ">") {
    bytes = CaseText(step.body, dir);
    if (step.Word(2) == "sjis") bytes = Sjis(bytes);
  } else if (kind == "png") {
    bytes = PngHeader(n(2), n(3));
  } else if (kind == "bmp" || kind == "tim") {
    Bytes b;  // "BM", sizes and offsets, W, H, one plane of 24 bits; TIM: id, mode, X Y W H
    if (kind == "bmp")
      b.U16(0x4D42).U32(58).U32(0).U32(54).U32(40).U32(n(2)).U32(n(3)).U16(1).U16(24).data.resize(58);
    else
      b.U32(0x10).U32(n(2)).U32(16).U16(n(3)).U16(n(4)).U16(n(5)).U16(n(6)).U32(0);
    bytes.assign(b.data.begin(), b.data.end());
  } else {
    return false;
  }
  for (size_t i = 2; i + 1 < step.words.size(); ++i)
    if (step.words[i] == "cut") bytes.resize(n(i + 1));
  WriteTestFile(path, bytes);
  return true;
}

bool CaseCheck(const std::string& line, const std::string& name, const std::string& text, const std::u16string& folder) {
  const std::vector<std::string> w = CaseWords(line);
  const std::string op = w.empty() ? "" : w[0], rest = CaseText(CaseRest(line, 1), folder);
  if (op == "exists" || op == "absent") {
    EXPECT_EQ(FsFileExists(folder + U16(w[1])), op == "exists") << line;
  } else if (op == "same") {
    EXPECT_EQ(ReadTestFile(folder + U16(w[1])), CaseBytes(CaseRest(line, 2))) << line;
  } else if (op == name) {
    EXPECT_NE(text.find(rest), std::string::npos) << line << "\n" << text;
  } else if (op == name + "-lacks") {
    EXPECT_EQ(text.find(rest), std::string::npos) << line << "\n" << text;
  } else if (op == name + "-is") {
    EXPECT_EQ(text, rest) << line;
  } else if (op == name + "-starts") {
    EXPECT_EQ(text.rfind(rest, 0), 0u) << line << "\n" << text;
  } else if (op == name + "-count") {
    EXPECT_EQ(CountOf(text, CaseText(CaseRest(line, 2), folder)), std::stoul(w[1])) << line << "\n" << text;
  } else {
    return false;
  }
  return true;
}
