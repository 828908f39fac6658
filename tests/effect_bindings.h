// What the preview binds in each effect of the resource pack, taken from its
// effect table: the entry, the technique it selects by name (null where it
// uses none) and the parameter names the effect must expose. Shared by the
// native and the Windows tests of the pack.
#pragma once
#include <string>
#include <vector>

#include "preview/effect_table.h"

struct EffectBindings {
  const char16_t* entry;
  const char* technique;
  std::vector<std::string> parameters;
};

inline std::vector<EffectBindings> PreviewEffectBindings() {
  std::vector<EffectBindings> all;
  for (const EffectEntry& e : PreviewEffects()) {
    all.push_back({e.entry, e.technique, {}});
    const char* const matrices[] = {"matL", "matWVP", "matWLP", "matWLPB"};
    for (int bit = 0; bit < 4; ++bit)
      if (e.matrices & (1 << bit)) all.back().parameters.push_back(matrices[bit]);
    for (const NumberedParameter& p : e.parameters) all.back().parameters.push_back(p.name);
    if (e.source_texture) all.back().parameters.push_back("TexSrcColor");
  }
  return all;
}
