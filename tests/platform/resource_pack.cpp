// The resource pack reader against packs laid out by hand from the format:
// u16 magic 0x2000, entries of tag 0x0010 with a 48-byte UTF-16 name, u32
// load flag, u32 size and the data, then a terminator.
#include <gtest/gtest.h>

#include "platform/fs.h"
#include "platform/resource_pack.h"
#include "tests/test_util.h"

namespace {

std::string Le(uint32_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += char(v >> (8 * i));
  return out;
}
std::string Utf16(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += Le(c, 2);
  return out;
}
// One entry; the name field is filled with 0xAB past the name's NUL, so
// nothing may read the rest of the field.
std::string Entry(const std::u16string& name, uint32_t flag, const std::string& data, int64_t size_field = -1) {
  std::string field = Utf16(name.substr(0, 24)) + (name.size() < 24 ? Le(0, 2) : "");
  field.resize(48, '\xAB');
  return Le(0x10, 2) + field + Le(flag, 4) + Le(uint32_t(size_field < 0 ? data.size() : size_field), 4) + data;
}
const std::string kHead = Le(0x2000, 2), kEnd = Le(0, 2);
const std::u16string kGothic = u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";  // full-width MS Gothic

class ResourcePackTest : public ::testing::Test {
 protected:
  std::u16string path_ = MakeTempFolder() + u"pack.res";
  uint32_t Open(const std::string& bytes) {
    WriteTestFile(path_, bytes);
    return OpenResourcePackFile(pack_, path_);
  }
  std::string Find(const std::u16string& name) {
    uint32_t size = 77;
    const uint8_t* p = FindResourceEntry(pack_, name, &size);
    return p ? std::string(reinterpret_cast<const char*>(p), size) : size == 77 ? "(none)" : "(size changed)";
  }
  ResourcePack pack_;
};

TEST_F(ResourcePackTest, ReadsEntriesAtOpenAndOnDemand) {
  const std::string pack = kHead + Entry(u"title", 0, Utf16(u"ZEK") + Le(0, 2)) + Entry(u"hlsl_E5", 1, "old") +
                           Entry(u"hlsl_E5", 1, "new!") + Entry(u"empty", 0, "") + Le(0xFFFF, 2);
  ASSERT_EQ(0u, Open(pack));
  ASSERT_EQ(4u, pack_.entries.size());
  EXPECT_EQ(Find(u"Title"), "(none)");  // case matters
  EXPECT_EQ(Find(u"titl"), "(none)");
  EXPECT_EQ(Find(u"empty"), "");
  EXPECT_EQ(Find(u"hlsl_E5"), "new!");  // the later entry wins

  // A second lookup keeps the buffer it read; after the release the file is read again.
  std::string changed = pack;
  changed.replace(changed.size() - 2 - 58 - 4, 4, "NEW?");
  WriteTestFile(path_, changed);
  EXPECT_EQ(Find(u"hlsl_E5"), "new!");
  ReleaseResourceEntry(pack_, u"hlsl_E5");
  EXPECT_EQ(Find(u"hlsl_E5"), "NEW?");
  // Releasing an entry read at open changes nothing.
  ReleaseResourceEntry(pack_, u"title");
  std::u16string title;
  EXPECT_TRUE(ReadResourceText(pack_, u"title", 63, title));
  EXPECT_EQ(u"ZEK", title);
  // The file shrank below the on-demand entry: the lookup fails cleanly.
  ReleaseResourceEntry(pack_, u"hlsl_E5");
  WriteTestFile(path_, pack.substr(0, 100));
  EXPECT_EQ(Find(u"hlsl_E5"), "(none)");
  CloseResourcePack(pack_);
  EXPECT_EQ(Find(u"title"), "(none)");
}

TEST_F(ResourcePackTest, RefusesMissingWrongMagicAndTruncatedPacks) {
  EXPECT_EQ(0x80004005u, OpenResourcePackFile(pack_, path_ + u".missing"));
  EXPECT_EQ(0x80004005u, Open(Le(0x2001, 2) + Le(0xFFFF, 2)));
  EXPECT_EQ(0x80004005u, Open(std::string(1, '\0')));
  // Every cut inside the entry is refused; a cut where the terminator would be keeps it.
  const std::string good = kHead + Entry(u"a", 0, "\1\2\3") + kEnd;
  for (size_t cut = 3; cut < good.size() - 2; ++cut) {
    EXPECT_EQ(0x80004005u, Open(good.substr(0, cut))) << "cut at " << cut;
    EXPECT_TRUE(pack_.entries.empty());
  }
  EXPECT_EQ(0u, Open(good.substr(0, good.size() - 2)));
  EXPECT_EQ(1u, pack_.entries.size());
  // Sizes that point past the end, up to the largest u32.
  for (uint32_t bad : {4u, 0x7FFFFFFFu, 0xFFFFFFFFu})
    EXPECT_EQ(0x80004005u, Open(kHead + Entry(u"big", bad & 1, "\1\2\3", bad) + kEnd)) << bad;
  // An empty pack, and a name without any NUL, cut at its 24th unit.
  EXPECT_EQ(0u, Open(kHead + Le(0x11, 2)));
  EXPECT_TRUE(pack_.entries.empty());
  const std::u16string name24 = u"ABCDEFGHIJKLMNOPQRSTUVWX";
  ASSERT_EQ(0u, Open(kHead + Entry(name24, 0, Le(0x1234, 2)) + kEnd));
  EXPECT_EQ(Find(name24.substr(0, 23)), Le(0x1234, 2));
  EXPECT_EQ(Find(name24), "(none)");
}

TEST_F(ResourcePackTest, TextEntriesNeedEvenSizeAndTerminator) {
  ASSERT_EQ(0u, Open(kHead + Entry(u"fontname", 0, Utf16(kGothic) + Le(0, 2)) + Entry(u"odd", 0, std::string("a\0\0", 3)) +
                     Entry(u"open", 0, std::string("a\0b\0", 4)) + Entry(u"long", 1, Utf16(std::u16string(40, u'x')) + Le(0, 2)) +
                     kEnd));
  std::u16string text = u"unchanged";
  EXPECT_FALSE(ReadResourceText(pack_, u"odd", 31, text));
  EXPECT_FALSE(ReadResourceText(pack_, u"open", 31, text));
  EXPECT_FALSE(ReadResourceText(pack_, u"missing", 31, text));
  EXPECT_EQ(u"unchanged", text);
  EXPECT_TRUE(ReadResourceText(pack_, u"fontname", 31, text));
  EXPECT_EQ(kGothic, text);
  EXPECT_TRUE(ReadResourceText(pack_, u"long", 31, text));
  EXPECT_EQ(std::u16string(31, u'x'), text);
}

}  // namespace
