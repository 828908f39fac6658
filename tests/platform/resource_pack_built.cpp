// The pack the build writes, read back with the pack reader: its texts, and
// every effect the preview binds, as a compiled effect (tag 0xFEFF0901)
// naming its technique and parameters, read on demand.
#include <gtest/gtest.h>

#include "platform/resource_pack.h"
#include "platform/sjis.h"
#include "tests/effect_bindings.h"

TEST(BuiltResourcePack, HoldsTextsAndEveryEffect) {
  ResourcePack pack;
  ASSERT_TRUE(OpenResourcePackFile(pack, Utf8ToUtf16(RAILWICK_PACK_FILE)));
  std::u16string text;
  EXPECT_TRUE(ReadResourceText(pack, u"title", 63, text));
  EXPECT_FALSE(text.empty());
  EXPECT_TRUE(ReadResourceText(pack, u"fontname", 31, text));
  EXPECT_EQ(u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", text);
  for (const EffectBindings& e : PreviewEffectBindings()) {
    SCOPED_TRACE(Utf16ToUtf8(e.entry));
    uint32_t size = 0;
    const uint8_t* data = FindResourceEntry(pack, e.entry, &size);
    ASSERT_NE(nullptr, data);
    ASSERT_GT(size, 8u);
    const std::string effect(reinterpret_cast<const char*>(data), size);
    EXPECT_EQ(effect.substr(0, 4), std::string("\x01\x09\xFF\xFE", 4));
    // Names are stored with their length and a NUL.
    auto holds = [&](const std::string& name) { return effect.find(name + std::string(1, '\0')) != std::string::npos; };
    EXPECT_TRUE(!e.technique || holds(e.technique)) << e.technique;
    for (const std::string& name : e.parameters) EXPECT_TRUE(holds(name)) << name;
    ReleaseResourceEntry(pack, e.entry);
  }
  // The effects are read on demand, the texts at open.
  for (const ResourcePackEntry& entry : pack.entries) {
    const std::u16string name = entry.name;
    EXPECT_EQ(name == u"title" || name == u"fontname", entry.load_flag == 0) << Utf16ToUtf8(name);
  }
  EXPECT_EQ(16u, pack.entries.size());
}
