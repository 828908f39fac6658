#include "tests/case_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <sstream>

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
