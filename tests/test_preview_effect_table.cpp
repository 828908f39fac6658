// The preview's effect table agrees with what the resource pack's effects
// expose (the list the pack builder's tests check), slot by slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "preview/effect_table.h"
#include "tests/effect_bindings.h"

namespace {

std::vector<std::string> BoundNames(const EffectEntry& e) {
  std::vector<std::string> names;
  const char* matrices[] = {"matL", "matWVP", "matWLP", "matWLPB"};
  for (int bit = 0; bit < 4; ++bit)
    if (e.matrices & (1 << bit)) names.push_back(matrices[bit]);
  for (const NumberedParameter& p : e.parameters) names.push_back(p.name);
  if (e.source_texture) names.push_back("TexSrcColor");
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PreviewEffectTable, MatchesTheEffectsOfThePack) {
  const std::vector<EffectBindings> pack = PreviewEffectBindings();
  const std::vector<EffectEntry>& table = PreviewEffects();
  ASSERT_EQ(table.size(), 14u);
  ASSERT_EQ(pack.size(), table.size());
  std::set<int> slots;
  for (size_t i = 0; i < table.size(); ++i) {
    const EffectEntry& e = table[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(std::u16string(e.entry), std::u16string(pack[i].entry));
    EXPECT_EQ(std::string(e.technique ? e.technique : ""),
              std::string(pack[i].technique ? pack[i].technique : ""));
    std::vector<std::string> expected = pack[i].parameters;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(BoundNames(e), expected);
    EXPECT_TRUE(e.slot >= 0 && e.slot < kEffectSlots);
    EXPECT_TRUE(slots.insert(e.slot).second) << "slot " << e.slot << " twice";
    for (const NumberedParameter& p : e.parameters) EXPECT_TRUE(p.number >= 0 && p.number < 16);
  }
  // The slots the table names, in its loading order.
  EXPECT_EQ(table[0].slot, 0);
  EXPECT_EQ(table[1].slot, 14);
  EXPECT_EQ(table[13].slot, 13);
}

TEST(PreviewEffectTable, TargetTexturesRoundUpTo64) {
  EXPECT_EQ(EffectTargetTextureSize(1008, 1), 1024u);
  EXPECT_EQ(EffectTargetTextureSize(1008, 2), 512u);  // 504
  EXPECT_EQ(EffectTargetTextureSize(724, 2), 384u);   // 362
  EXPECT_EQ(EffectTargetTextureSize(640, 1), 640u);
  EXPECT_EQ(EffectTargetTextureSize(1, 2), 0u);
}

}  // namespace
