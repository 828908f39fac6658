// Text conversion, numbers, file names, PNG headers, DirectX versions and the
// settling of saves, as the cases in tests/data/platform/cases.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/dx_version.h"
#include "platform/files.h"
#include "platform/image_headers.h"
#include "platform/numbers.h"
#include "platform/save_settler.h"
#include "platform/sjis.h"
#include "tests/case_text.h"

namespace {

// UTF-16 units as hex words: "3042 6F22".
std::string Hex(const std::u16string& text) {
  std::string out;
  char word[8];
  for (char16_t unit : text) {
    std::snprintf(word, sizeof word, out.empty() ? "%04X" : " %04X", unsigned{unit});
    out += word;
  }
  return out;
}

std::u16string Units(const std::string& hex) {
  std::u16string out;
  std::istringstream words(hex);
  for (unsigned unit; words >> std::hex >> unit;) out += static_cast<char16_t>(unit);
  return out;
}

std::string Hex32(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// Inputs "name=major.minor.build.revision ..."; the packed version inferred.
std::string InferFrom(const std::string& versions) {
  std::istringstream words(versions);
  std::map<std::u16string, FileVersion> files;
  for (std::string word; words >> word;) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(word.c_str() + word.find('=') + 1, "%u.%u.%u.%u", &a, &b, &c, &d);
    files[U16(word.substr(0, word.find('=')))] = FileVersion{a << 16 | b, c << 16 | d};
  }
  return Hex32(PackDirectXVersion(InferDirectXVersionFromFiles([&](const char16_t* name, FileVersion* v) {
    const auto it = files.find(name);
    if (it != files.end()) *v = it->second;
    return it != files.end();
  })));
}

// Changes at the times of `changes` (ms); the times a build is due, looked
// at every 10 ms for 3 s.
std::string Builds(const std::string& changes) {
  SaveSettler settler(200, 1000);
  std::istringstream times(changes);
  std::vector<int> change_times;
  for (int t; times >> t;) change_times.push_back(t);
  std::string builds;
  for (int t = 0; t <= 3000; t += 10) {
    if (std::count(change_times.begin(), change_times.end(), t)) settler.Change(t);
    EXPECT_LE(settler.NextLookMs(t, 100), 100);
    if (settler.Due(t)) builds += (builds.empty() ? "" : " ") + std::to_string(t);
  }
  return builds;
}

TEST(PlatformCases, TextNumbersNamesAndVersions) {
  RunCaseFile("platform/cases.txt",
              {{"sjis",
                [](const CaseFields& in) {
                  size_t bad = 0;
                  const std::string units = Hex(SjisToUtf16(in[0], &bad));
                  return units + " | " + std::to_string(bad);
                }},
               {"to_sjis",
                [](const CaseFields& in) {
                  std::string out;
                  size_t where = 99;
                  return Utf16ToSjis(Units(in[0]), out, &where) ? out : "fails at " + std::to_string(where);
                }},
               {"utf8", [](const CaseFields& in) { return Hex(Utf8ToUtf16(in[0])); }},
               {"to_utf8", [](const CaseFields& in) { return Utf16ToUtf8(Units(in[0])); }},
               {"int", [](const CaseFields& in) { return std::to_string(ParseInt32(in[0].c_str())); }},
               {"double",
                [](const CaseFields& in) {
                  std::ostringstream text;
                  text << ParseDouble(in[0].c_str());
                  return text.str();
                }},
               {"file_name",
                [](const CaseFields& in) {
                  std::u16string name = U16(in[0]);
                  SanitizeFileName(name);
                  return U8(name);
                }},
               {"png",
                [](const CaseFields& in) {
                  PngHeader h;
                  h.width = 77;
                  if (!ReadPngSize(reinterpret_cast<const uint8_t*>(in[0].data()), in[0].size(), h))
                    return "fails, width " + std::to_string(h.width);
                  char text[64];
                  std::snprintf(text, sizeof text, "%ux%u depth %d colour %d alpha %d", h.width, h.height,
                                h.bit_depth, h.truecolour, h.alpha);
                  return std::string(text);
                }},
               {"dx_pack",
                [](const CaseFields& in) {
                  return Hex32(PackDirectXVersion({uint32_t(std::stoul(in[0], nullptr, 0)),
                                                   uint32_t(std::stoul(in[1], nullptr, 0)), U16(in[2])[0]}));
                }},
               {"dx_files", [](const CaseFields& in) { return InferFrom(in[0]); }},
               {"settle", [](const CaseFields& in) { return Builds(in[0]); }},
               {"next_look", [](const CaseFields& in) {
                  SaveSettler settler(200, 1000);
                  if (!in[0].empty()) settler.Change(std::stoi(in[0]));
                  return std::to_string(settler.NextLookMs(std::stoi(in[1]), 100));
                }}});
}

}  // namespace
