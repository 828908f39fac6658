// The preview's HLSL effects: which resource pack entry goes into which of
// the 32 effect slots, and what is bound in it. Loaded in table order.
#pragma once
#include <cstdint>
#include <vector>

constexpr int kEffectSlots = 32;
constexpr int kRenderTargetSlots = 32;

// Matrix parameters bound by their fixed names.
enum EffectMatrix : uint8_t {
  kBindMatL = 1,
  kBindMatWVP = 2,
  kBindMatWLP = 4,
  kBindMatWLPB = 8,
};

struct NumberedParameter {
  int number;
  const char* name;
};

struct EffectEntry {
  int slot;
  const char16_t* entry;  // name in the resource pack
  const char* technique;  // null: none selected
  uint8_t matrices;       // EffectMatrix bits
  std::vector<NumberedParameter> parameters;
  bool source_texture;  // binds "TexSrcColor"
};

const std::vector<EffectEntry>& PreviewEffects();

// The render targets made for the effects: size divisors of the client area.
inline constexpr int kEffectTargetDivisors[] = {1, 2, 2, 2};

// Width or height of a render target's texture: the client size over the
// divisor, rounded up to a multiple of 64.
uint32_t EffectTargetTextureSize(uint32_t client, uint32_t divisor);
