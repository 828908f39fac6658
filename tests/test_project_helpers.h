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
#include "tests/case_text.h"
#include "tests/test_util.h"

namespace testing_project {

// An image or sound from tests/data/project/files.
inline std::vector<uint8_t> InputFile(const std::string& name) {
  const std::string bytes = ReadTestFile(SourcePath("tests/data/project/files/" + name));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
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
