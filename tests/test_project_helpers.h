// Small files and fixtures for the project, script and Make-data tests.
#pragma once
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/fs.h"
#include "platform/sjis.h"
#include "project/notifier.h"
#include "tests/test_util.h"

namespace testing_project {

// An image or sound from tests/data/project/files.
inline std::vector<uint8_t> InputFile(const std::string& name) {
  const std::string bytes = ReadTestFile(SourcePath("tests/data/project/files/" + name));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The rows of a case table below tests/data: tab-separated cells, blank
// lines and "#" comments skipped; "\t", "\n" and "\uXXXX" ("\UXXXXXXXX")
// in a cell stand for those characters.
inline std::vector<std::vector<std::string>> CaseRows(const std::string& relative) {
  std::vector<std::vector<std::string>> rows;
  const std::string text = ReadTestFile(SourcePath("tests/data/" + relative));
  for (size_t at = 0, end; at < text.size(); at = end + 1) {
    end = std::min(text.find('\n', at), text.size());
    if (end == at || text[at] == '#') continue;
    rows.emplace_back();
    for (size_t cell = at, tab; cell <= end; cell = tab + 1) {
      tab = std::min(text.find('\t', cell), end);
      std::string value = text.substr(cell, tab - cell);
      for (size_t e = value.find('\\'); e != std::string::npos && e + 1 < value.size(); e = value.find('\\', e + 1)) {
        const char kind = value[e + 1];
        const size_t digits = kind == 'u' ? 4 : kind == 'U' ? 8 : 0;
        const uint32_t cp = digits ? std::stoul(value.substr(e + 2, digits), nullptr, 16) : 0;
        const std::u16string unit = cp > 0xFFFF ? std::u16string{char16_t(0xD7C0 + (cp >> 10)), char16_t(0xDC00 + (cp & 0x3FF))}
                                                : std::u16string(1, char16_t(cp));
        if (digits) value.replace(e, 2 + digits, U8(unit));
        if (kind == 't' || kind == 'n') value.replace(e, 2, kind == 't' ? "\t" : "\n");
      }
      rows.back().push_back(value);
    }
  }
  return rows;
}

// A fresh scratch folder with the files a test puts in it.
class TempFolder {
 public:
  TempFolder() : path_(MakeTempFolder()) {}
  const std::u16string& path() const { return path_; }
  std::u16string operator/(const std::u16string& name) const { return path_ + name; }
  std::u16string Write(const std::u16string& name, const std::vector<uint8_t>& bytes) const {
    std::u16string full = path_ + name;
    FsWriteFileAtomic(full, bytes.data(), bytes.size());
    return full;
  }
  std::u16string WriteText(const std::u16string& name, const std::string& text) const {
    return Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  // Names of the files in the folder, sorted.
  std::vector<std::string> List() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(path_)))
      names.push_back(e.path().filename().u8string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::u16string path_;
};

struct RecordingNotifier : Notifier {
  std::vector<std::pair<std::u16string, std::u16string>> calls;
  void ShowError(const std::u16string& caption, const std::u16string& message) override {
    calls.emplace_back(caption, message);
  }
  // The one message shown, or "" when there were none or several.
  std::u16string Only() const { return calls.size() == 1 ? calls[0].second : u""; }
};

}  // namespace testing_project
