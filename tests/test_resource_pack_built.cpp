// The pack the build writes: read back with the pack reader, and every effect
// checked against the compiled-effect layout that D3DXCreateEffect reads (tag
// 0xFEFF0901, the offset of the parameter table counted from byte 8, type
// descriptions with their initial values, techniques with passes, then the
// string and resource counts), with a walker written from that layout.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/resource_pack.h"
#include "platform/sjis.h"
#include "tests/effect_bindings.h"

namespace {

struct EffectWalker {
  const uint8_t* base = nullptr;  // byte 8 of the effect
  size_t size = 0;
  bool ok = true;

  uint32_t U32(size_t offset) {
    if (offset > size || size - offset < 4) {
      ok = false;
      return 0;
    }
    const uint8_t* p = base + offset;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
  }
  std::string Name(size_t offset) {
    uint32_t n = U32(offset);
    if (!ok || n == 0 || n > size - offset - 4 || base[offset + 4 + n - 1] != 0) {
      ok = false;
      return {};
    }
    return std::string(reinterpret_cast<const char*>(base + offset + 4), n - 1);
  }
};

struct EffectInfo {
  std::map<std::string, std::pair<uint32_t, uint32_t>> params;  // name -> (type, class)
  std::vector<std::string> techniques;
  bool ok = false;
};

EffectInfo WalkEffect(const uint8_t* data, uint32_t size) {
  EffectInfo info;
  if (size < 8) return info;
  EffectWalker w{data + 8, size - 8u};
  uint32_t tag = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
  if (tag != 0xFEFF0901u) return info;
  size_t pos = data[4] | (data[5] << 8) | (data[6] << 16) | (static_cast<uint32_t>(data[7]) << 24);
  uint32_t params = w.U32(pos), techniques = w.U32(pos + 4), objects = w.U32(pos + 12);
  pos += 16;
  std::set<uint32_t> object_ids;
  for (uint32_t i = 0; i < params && w.ok; ++i, pos += 16) {
    uint32_t typedef_at = w.U32(pos), value_at = w.U32(pos + 4), annotations = w.U32(pos + 12);
    EXPECT_EQ(0u, annotations);
    uint32_t type = w.U32(typedef_at), cls = w.U32(typedef_at + 4);
    std::string name = w.Name(w.U32(typedef_at + 8));
    EXPECT_EQ(0u, w.U32(w.U32(typedef_at + 12)));  // no semantic
    EXPECT_EQ(0u, w.U32(typedef_at + 16));         // no array
    if (cls == 4) {                                // object: the value is an object id
      EXPECT_EQ(5u, type);
      uint32_t id = w.U32(value_at);
      EXPECT_LT(id, objects);
      EXPECT_TRUE(object_ids.insert(id).second);
    } else {
      uint32_t a = w.U32(typedef_at + 20), b = w.U32(typedef_at + 24);
      uint32_t bytes = 4 * a * b;
      EXPECT_EQ(3u, type);
      EXPECT_LE(value_at + bytes, w.size);
      if (cls == 2) {
        EXPECT_EQ(16u, a * b);
      }
    }
    info.params[name] = {type, cls};
  }
  for (uint32_t i = 0; i < techniques && w.ok; ++i) {
    info.techniques.push_back(w.Name(w.U32(pos)));
    uint32_t annotations = w.U32(pos + 4), passes = w.U32(pos + 8);
    EXPECT_EQ(0u, annotations);
    EXPECT_GE(passes, 1u);
    pos += 12;
    for (uint32_t p = 0; p < passes && w.ok; ++p, pos += 12) {
      EXPECT_FALSE(w.Name(w.U32(pos)).empty());
      EXPECT_EQ(0u, w.U32(pos + 8));  // no states
    }
  }
  EXPECT_EQ(0u, w.U32(pos));      // strings
  EXPECT_EQ(0u, w.U32(pos + 4));  // resources
  EXPECT_EQ(pos + 8, w.size);     // nothing after the table
  info.ok = w.ok;
  return info;
}

}  // namespace

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
    EffectInfo info = WalkEffect(data, size);
    EXPECT_TRUE(info.ok);
    ASSERT_EQ(1u, info.techniques.size());
    if (e.technique) {
      EXPECT_EQ(e.technique, info.techniques[0]);
    }
    EXPECT_EQ(e.parameters.size(), info.params.size());
    for (const std::string& name : e.parameters) {
      auto it = info.params.find(name);
      ASSERT_NE(info.params.end(), it) << name;
      // Matrices are row-major (class 2), the texture an object (class 4).
      if (name.rfind("mat", 0) == 0) {
        EXPECT_EQ(2u, it->second.second) << name;
      }
      if (name == "TexSrcColor") {
        EXPECT_EQ(4u, it->second.second);
      }
    }
    ReleaseResourceEntry(pack, e.entry);
  }
  // The effects are read on demand, the texts at open.
  for (const ResourcePackEntry& entry : pack.entries) {
    bool is_text = std::u16string(entry.name) == u"title" || std::u16string(entry.name) == u"fontname";
    EXPECT_EQ(is_text ? 0u : 1u, entry.load_flag != 0 ? 1u : 0u);
  }
  EXPECT_EQ(16u, pack.entries.size());
}
