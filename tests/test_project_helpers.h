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

inline void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
}
inline void PutLe32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 0; s < 32; s += 8) v.push_back(static_cast<uint8_t>(x >> s));
}
inline void PutLe16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
// Byte by byte: GCC 12 at -O3 warns falsely about a range insert into an
// empty vector (-Wstringop-overflow).
inline void PutTag(std::vector<uint8_t>& v, const char* tag) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(tag[i]));
}

// The PNG signature and IHDR chunk: all that the checks read.
inline std::vector<uint8_t> PngBytes(uint32_t width, uint32_t height, uint8_t depth = 8, uint8_t colour = 2) {
  std::vector<uint8_t> v = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  PutBe32(v, 13);
  PutTag(v, "IHDR");
  PutBe32(v, width);
  PutBe32(v, height);
  v.insert(v.end(), {depth, colour, 0, 0, 0});
  PutBe32(v, 0);  // CRC, not examined
  return v;
}

inline std::vector<uint8_t> FmtChunk(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16) {
  std::vector<uint8_t> v;
  PutTag(v, "fmt ");
  PutLe32(v, size);
  PutLe16(v, 1);
  PutLe16(v, channels);
  PutLe32(v, rate);
  PutLe32(v, rate * channels * bits / 8);
  PutLe16(v, static_cast<uint16_t>(channels * bits / 8));
  PutLe16(v, bits);
  v.resize(8 + size < v.size() ? 8 + size : v.size());
  while (v.size() < 8 + size) v.push_back(0);
  return v;
}

inline std::vector<uint8_t> DataChunk(uint32_t samples) {
  std::vector<uint8_t> v;
  PutTag(v, "data");
  PutLe32(v, samples);
  for (uint32_t i = 0; i < samples; ++i) v.push_back(static_cast<uint8_t>(128 + (i % 2 ? 20 : -20)));
  if (samples % 2) v.push_back(0);
  return v;
}

// RIFF WAVE around the given chunks, with the RIFF size they add up to.
inline std::vector<uint8_t> RiffWave(const std::vector<std::vector<uint8_t>>& chunks) {
  std::vector<uint8_t> body;
  PutTag(body, "WAVE");
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  std::vector<uint8_t> v;
  PutTag(v, "RIFF");
  PutLe32(v, static_cast<uint32_t>(body.size()));
  v.insert(v.end(), body.begin(), body.end());
  return v;
}

inline std::vector<uint8_t> GoodWave() {
  return RiffWave({FmtChunk(1, 22050, 8), DataChunk(16)});
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
