// The resource pack reader against packs laid out by hand from the format
// table: little-endian u16 magic 0x2000, entries of tag 0x0010, a 48-byte
// UTF-16 name, u32 load flag, u32 size and the data, then a terminator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/resource_pack.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void PutU32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
// One entry; the name field is filled with 0xAB past the name's NUL so that
// nothing depends on the unspecified rest of the field.
void PutEntry(Bytes& b, const std::u16string& name, uint32_t flag, const Bytes& data, uint32_t size_field) {
  PutU16(b, 0x0010);
  for (size_t i = 0; i < 24; ++i) {
    if (i < name.size())
      PutU16(b, name[i]);
    else if (i == name.size())
      PutU16(b, 0);
    else
      PutU16(b, 0xABAB);
  }
  PutU32(b, flag);
  PutU32(b, size_field);
  b.insert(b.end(), data.begin(), data.end());
}
void PutEntry(Bytes& b, const std::u16string& name, uint32_t flag, const Bytes& data) {
  PutEntry(b, name, flag, data, static_cast<uint32_t>(data.size()));
}
Bytes Text(const std::u16string& s) {
  Bytes b;
  for (char16_t c : s) PutU16(b, c);
  PutU16(b, 0);
  return b;
}
Bytes PackHead() {
  Bytes b;
  PutU16(b, 0x2000);
  return b;
}

class ResourcePackTest : public ::testing::Test {
 protected:
  std::u16string path_ = FsTempDirectory() + u"pack_test.res";
  void Write(const Bytes& b) { ASSERT_TRUE(FsWriteFileAtomic(path_, b.data(), b.size())); }
  void TearDown() override { FsRemoveFile(path_); }
};

std::string AsString(const uint8_t* p, uint32_t n) {
  return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

TEST_F(ResourcePackTest, ReadsEntriesOnDemandAndAtOpen) {
  Bytes b = PackHead();
  PutEntry(b, u"title", 0, Text(u"ZEK"));
  PutEntry(b, u"hlsl_E5", 1, Bytes{'o', 'l', 'd'});
  PutEntry(b, u"hlsl_E5", 1, Bytes{'n', 'e', 'w', '!'});  // the later entry wins
  PutEntry(b, u"empty", 0, Bytes{});
  PutU16(b, 0xFFFF);
  Write(b);

  ResourcePack pack;
  ASSERT_TRUE(OpenResourcePackFile(pack, path_));
  ASSERT_EQ(4u, pack.entries.size());

  uint32_t size = 77;
  EXPECT_EQ(nullptr, FindResourceEntry(pack, u"Title", &size));  // case matters
  EXPECT_EQ(nullptr, FindResourceEntry(pack, u"titl", &size));
  EXPECT_EQ(77u, size);
  const uint8_t* p = FindResourceEntry(pack, u"empty", &size);
  EXPECT_NE(nullptr, p);
  EXPECT_EQ(0u, size);

  p = FindResourceEntry(pack, u"hlsl_E5", &size);
  ASSERT_NE(nullptr, p);
  EXPECT_EQ("new!", AsString(p, size));

  // Rewrite the file: a second lookup keeps the buffer it read, a lookup
  // after the release reads the file again.
  Bytes changed = b;
  size_t at = changed.size() - 2 - 58 - 4;  // data of the second hlsl_E5
  std::memcpy(&changed[at], "NEW?", 4);
  Write(changed);
  p = FindResourceEntry(pack, u"hlsl_E5", &size);
  EXPECT_EQ("new!", AsString(p, size));
  ReleaseResourceEntry(pack, u"hlsl_E5");
  p = FindResourceEntry(pack, u"hlsl_E5", &size);
  ASSERT_NE(nullptr, p);
  EXPECT_EQ("NEW?", AsString(p, size));

  // Releasing an entry read at open changes nothing.
  ReleaseResourceEntry(pack, u"title");
  std::u16string title;
  EXPECT_TRUE(ReadResourceText(pack, u"title", 63, title));
  EXPECT_EQ(u"ZEK", title);

  // The file shrank below the on-demand entry: the lookup fails cleanly.
  ReleaseResourceEntry(pack, u"hlsl_E5");
  Write(Bytes(b.begin(), b.begin() + 100));
  EXPECT_EQ(nullptr, FindResourceEntry(pack, u"hlsl_E5", &size));

  CloseResourcePack(pack);
  EXPECT_EQ(nullptr, FindResourceEntry(pack, u"title", &size));
}

TEST_F(ResourcePackTest, RefusesMissingWrongMagicAndTruncatedPacks) {
  ResourcePack pack;
  EXPECT_FALSE(OpenResourcePackFile(pack, path_ + u".missing"));

  Bytes wrong;
  PutU16(wrong, 0x2001);
  PutU16(wrong, 0xFFFF);
  Write(wrong);
  EXPECT_FALSE(OpenResourcePackFile(pack, path_));
  Write(Bytes{0x00});
  EXPECT_FALSE(OpenResourcePackFile(pack, path_));

  Bytes good = PackHead();
  PutEntry(good, u"a", 0, Bytes{1, 2, 3});
  PutU16(good, 0);
  // Every cut inside the entry (header or data) is refused; a cut right
  // after the entry, where the terminator would be, keeps it.
  for (size_t cut = 3; cut < good.size() - 2; ++cut) {
    Write(Bytes(good.begin(), good.begin() + cut));
    EXPECT_FALSE(OpenResourcePackFile(pack, path_)) << "cut at " << cut;
    EXPECT_TRUE(pack.entries.empty());
  }
  Write(Bytes(good.begin(), good.end() - 2));
  EXPECT_TRUE(OpenResourcePackFile(pack, path_));
  EXPECT_EQ(1u, pack.entries.size());

  // Sizes that point past the end, up to the largest u32.
  for (uint32_t bad : {4u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    Bytes b = PackHead();
    PutEntry(b, u"big", bad & 1, Bytes{1, 2, 3}, bad);
    PutU16(b, 0);
    Write(b);
    EXPECT_FALSE(OpenResourcePackFile(pack, path_)) << bad;
  }
}

TEST_F(ResourcePackTest, EmptyPackAndUnterminatedNames) {
  Bytes b = PackHead();
  PutU16(b, 0x0011);
  Write(b);
  ResourcePack pack;
  ASSERT_TRUE(OpenResourcePackFile(pack, path_));
  EXPECT_TRUE(pack.entries.empty());

  // A name field without any NUL: the name is cut at its 24th unit.
  b = PackHead();
  PutU16(b, 0x0010);
  for (int i = 0; i < 24; ++i) PutU16(b, u'A' + i);
  PutU32(b, 0);
  PutU32(b, 2);
  PutU16(b, 0x1234);
  PutU16(b, 0);
  Write(b);
  ASSERT_TRUE(OpenResourcePackFile(pack, path_));
  std::u16string name23;
  for (int i = 0; i < 23; ++i) name23.push_back(u'A' + i);
  uint32_t size = 0;
  EXPECT_NE(nullptr, FindResourceEntry(pack, name23, &size));
  EXPECT_EQ(nullptr, FindResourceEntry(pack, name23 + u"X", &size));
}

TEST_F(ResourcePackTest, TextEntriesNeedEvenSizeAndTerminator) {
  Bytes b = PackHead();
  PutEntry(b, u"fontname", 0, Text(u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF"));  // full-width MS Gothic
  PutEntry(b, u"odd", 0, Bytes{'a', 0, 0});
  PutEntry(b, u"open", 0, Bytes{'a', 0, 'b', 0});
  Bytes long_face = Text(std::u16string(40, u'x'));
  PutEntry(b, u"long", 1, long_face);
  PutU16(b, 0);
  Write(b);
  ResourcePack pack;
  ASSERT_TRUE(OpenResourcePackFile(pack, path_));
  std::u16string text = u"unchanged";
  EXPECT_FALSE(ReadResourceText(pack, u"odd", 31, text));
  EXPECT_FALSE(ReadResourceText(pack, u"open", 31, text));
  EXPECT_FALSE(ReadResourceText(pack, u"missing", 31, text));
  EXPECT_EQ(u"unchanged", text);
  EXPECT_TRUE(ReadResourceText(pack, u"fontname", 31, text));
  EXPECT_EQ(u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", text);
  EXPECT_TRUE(ReadResourceText(pack, u"long", 31, text));
  EXPECT_EQ(std::u16string(31, u'x'), text);
}
