// The resource pack reader against the packs of
// tests/data/platform/resource_pack.cases, laid out by hand from the format.
#include <gtest/gtest.h>

#include "platform/resource_pack.h"
#include "tests/case_text.h"

namespace {

// The bytes of a pack from its words (see the case file).
std::string PackBytes(const std::vector<std::string>& words) {
  std::vector<uint8_t> out;
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i].rfind("entry:", 0) != 0) {
      AppendCaseField(out, words[i], u"");
      continue;
    }
    std::vector<std::string> part;  // entry, NAME, FLAG, DATA, SIZE
    for (size_t at = 0, colon; at <= words[i].size(); at = colon + 1) {
      colon = std::min(words[i].find(':', at), words[i].size());
      part.push_back(words[i].substr(at, colon - at));
    }
    const std::vector<uint8_t> data = HexBytes(part[3]);
    std::vector<uint8_t> name;
    AppendCaseField(name, "t24:" + part[1], u"");
    std::fill(name.begin() + std::min<size_t>(48, 2 * part[1].size() + 2), name.end(), 0xAB);
    for (const std::string& field : {std::string("u16:16"), "hex:" + HexText(name), "u32:" + part[2],
                                     "u32:" + (part.size() > 4 ? part[4] : std::to_string(data.size())), "hex:" + part[3]})
      AppendCaseField(out, field, u"");
  }
  return std::string(out.begin(), out.end());
}

TEST(ResourcePack, EveryCaseOpensFindsAndReleasesAsWritten) {
  const std::u16string path = MakeTempFolder() + u"pack.res";
  int lines = 0;
  for (const auto& [title, section] : ReadCaseSections(SourcePath("tests/data/platform/resource_pack.cases"))) {
    ResourcePack pack;
    for (const std::string& line : section) {
      const std::vector<std::string> w = CaseWords(line);
      if (w.empty() || w[0][0] == '#') continue;
      SCOPED_TRACE(title + ": " + line.substr(0, 100));
      ++lines;
      if (w[0] == "write") {
        WriteTestFile(path, PackBytes(w));
      } else if (w[0] == "cut") {
        WriteTestFile(path, ReadTestFile(path).substr(0, std::stoul(w[1])));
      } else if (w[0] == "open") {
        EXPECT_EQ(OpenResourcePackFile(pack, path), w[1] == "ok");
        if (w.size() > 2) {
          EXPECT_EQ(pack.entries.size(), std::stoul(w[2]));
        }
      } else if (w[0] == "find") {
        uint32_t size = 77;
        const uint8_t* data = FindResourceEntry(pack, U16(w[1]), &size);
        const std::string found = data ? HexText(std::vector<uint8_t>(data, data + size)) : size == 77 ? "none" : "?";
        EXPECT_EQ(found.empty() ? "empty" : found, w[2]);
      } else if (w[0] == "text") {
        std::u16string text = u"unchanged";
        EXPECT_EQ(ReadResourceText(pack, U16(w[1]), std::stoul(w[2]), text), w[3] != "none");
        EXPECT_EQ(U8(text), w[3] == "none" ? "unchanged" : w[3]);
      } else if (w[0] == "release") {
        ReleaseResourceEntry(pack, U16(w[1]));
      } else if (w[0] == "close") {
        CloseResourcePack(pack);
      } else {
        ADD_FAILURE() << "unknown directive";
      }
    }
  }
  EXPECT_GT(lines, 100);
}

}  // namespace
