// The pack the build writes: read back with the pack reader, and every effect
// walked with the compiled-effect layout that D3DXCreateEffect reads (tag
// 0xFEFF0901, the parameter table at an offset counted from byte 8, type
// descriptions with their values, techniques with passes, then the string
// and resource counts).
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/resource_pack.h"
#include "platform/sjis.h"
#include "tests/effect_bindings.h"

namespace {

struct EffectWalker {
  const uint8_t* base;  // byte 8 of the effect
  size_t size;
  bool ok = true;
  uint32_t U32(size_t at) {
    if (at > size || size - at < 4) return ok = false, 0;
    return base[at] | base[at + 1] << 8 | base[at + 2] << 16 | uint32_t(base[at + 3]) << 24;
  }
  std::string Name(size_t at) {
    const uint32_t n = U32(at);
    if (!ok || n == 0 || n > size - at - 4 || base[at + 4 + n - 1] != 0) return ok = false, std::string();
    return std::string(reinterpret_cast<const char*>(base + at + 4), n - 1);
  }
};

// Parameter name -> class (2 matrix, 4 object, ...), and the techniques; empty when the layout breaks.
std::pair<std::map<std::string, uint32_t>, std::vector<std::string>> WalkEffect(const uint8_t* data, uint32_t size) {
  std::map<std::string, uint32_t> params;
  std::vector<std::string> techniques;
  EffectWalker top{data, size}, w{data + 8, size < 8 ? 0 : size - 8u};
  if (top.U32(0) != 0xFEFF0901u) return {};
  size_t pos = top.U32(4);
  const uint32_t param_count = w.U32(pos), technique_count = w.U32(pos + 4), objects = w.U32(pos + 12);
  std::set<uint32_t> object_ids;
  pos += 16;
  for (uint32_t i = 0; i < param_count && w.ok; ++i, pos += 16) {
    const uint32_t type_at = w.U32(pos), value_at = w.U32(pos + 4);
    EXPECT_EQ(0u, w.U32(pos + 12));             // annotations
    EXPECT_EQ(0u, w.U32(w.U32(type_at + 12)));  // semantic
    EXPECT_EQ(0u, w.U32(type_at + 16));         // array
    const uint32_t type = w.U32(type_at), cls = w.U32(type_at + 4), cells = w.U32(type_at + 20) * w.U32(type_at + 24);
    if (cls == 4) {  // an object: the value is an object id
      EXPECT_EQ(5u, type);
      EXPECT_LT(w.U32(value_at), objects);
      EXPECT_TRUE(object_ids.insert(w.U32(value_at)).second);
    } else {
      EXPECT_EQ(3u, type);
      EXPECT_LE(value_at + 4 * cells, w.size);
      EXPECT_TRUE(cls != 2 || cells == 16u) << "a matrix of " << cells;
    }
    params[w.Name(w.U32(type_at + 8))] = cls;
  }
  for (uint32_t i = 0; i < technique_count && w.ok; ++i) {
    techniques.push_back(w.Name(w.U32(pos)));
    uint32_t passes = w.U32(pos + 8);
    EXPECT_EQ(0u, w.U32(pos + 4));  // annotations
    EXPECT_GE(passes, 1u);
    for (pos += 12; passes-- > 0 && w.ok; pos += 12) {
      EXPECT_FALSE(w.Name(w.U32(pos)).empty());
      EXPECT_EQ(0u, w.U32(pos + 8));  // states
    }
  }
  EXPECT_EQ(0u, w.U32(pos));      // strings
  EXPECT_EQ(0u, w.U32(pos + 4));  // resources
  EXPECT_EQ(pos + 8, w.size);     // nothing after the table
  if (!w.ok) return {};
  return {params, techniques};
}

}  // namespace

TEST(BuiltResourcePack, HoldsTextsAndEveryEffect) {
  ResourcePack pack;
  ASSERT_EQ(0u, OpenResourcePackFile(pack, Utf8ToUtf16(RAILWICK_PACK_FILE)));
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
    const auto [params, techniques] = WalkEffect(data, size);
    ASSERT_EQ(1u, techniques.size());
    EXPECT_EQ(e.technique ? e.technique : techniques[0], techniques[0]);
    EXPECT_EQ(e.parameters.size(), params.size());
    for (const std::string& name : e.parameters) {
      ASSERT_TRUE(params.count(name)) << name;
      // Matrices are row-major (class 2), the texture an object (class 4).
      EXPECT_TRUE(name.rfind("mat", 0) != 0 || params.at(name) == 2u) << name;
      EXPECT_TRUE(name != "TexSrcColor" || params.at(name) == 4u);
    }
    ReleaseResourceEntry(pack, e.entry);
  }
  // The effects are read on demand, the texts at open.
  for (const ResourcePackEntry& entry : pack.entries) {
    const std::u16string name = entry.name;
    EXPECT_EQ(name == u"title" || name == u"fontname", entry.load_flag == 0) << Utf16ToUtf8(name);
  }
  EXPECT_EQ(16u, pack.entries.size());
}
