#include "tests/case_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <sstream>

#include "compiler/data_file.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

CaseSections ReadCaseSections(const std::u16string& path) {
  CaseSections out;
  std::istringstream in(ReadTestFile(path));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("=== ", 0) == 0) out.push_back({line.substr(4), {}});
    else if (!out.empty()) out.back().second.push_back(line);
  }
  return out;
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

namespace {
// Expands the escapes of `text`; `plain` converts the text between them.
template <class Convert>
std::string Expand(const std::string& text, Convert plain) {
  std::string out, run;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : 0;
    if (text[i] != '\\' || next == 0 || std::string("rntxc").find(next) == std::string::npos) {
      run += text[i];
      continue;
    }
    out += plain(run);
    run.clear();
    ++i;
    if (next == 'x') {
      out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else if (next == 'c') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += next == 'r' ? '\r' : next == 'n' ? '\n' : '\t';
    }
  }
  return out + plain(run);
}
}  // namespace

std::string CaseBytes(const std::string& text) {
  return Expand(text, [](const std::string& utf8) { return Sjis(utf8); });
}

std::string CaseText(const std::string& text, const std::u16string& folder) {
  std::string out = Expand(text, [](const std::string& utf8) { return utf8; });
  for (const auto& [name, value] : {std::pair<std::string, std::string>{"{dir}", U8(folder)},
                                    {"{sep}", U8(std::u16string(1, FsSeparator()))},
                                    {"{src}", U8(SourcePath(""))}})
    for (size_t at; (at = out.find(name)) != std::string::npos;) out.replace(at, name.size(), value);
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
  else if (kind == "triangle") b.Raw(TriangleMesh());
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
    const std::string piece = CaseText(CaseRest(line, 2), folder);
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    EXPECT_EQ(n, std::stoul(w[1])) << line << "\n" << text;
  } else {
    return false;
  }
  return true;
}
