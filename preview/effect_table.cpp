#include "preview/effect_table.h"

namespace {

const NumberedParameter kColour{0, "vCol"}, kLightDir{1, "vLightDir"}, kCameraPos{2, "vCameraPos"},
    kPhongPower{3, "phongpower"}, kFog{4, "vFog"}, kFogColour{5, "vFogColor"}, kPhongExec{6, "phongexec"},
    kColour2{7, "vCol2"}, kAmbient{8, "ambient"}, kShadowFactor{9, "shadowfactor"};

constexpr uint8_t kAllMatrices = kBindMatL | kBindMatWVP | kBindMatWLP | kBindMatWLPB;

}  // namespace

const std::vector<EffectEntry>& PreviewEffects() {
  static const std::vector<EffectEntry> effects = {
      {0,
       u"hlsl_shadow",
       nullptr,
       kAllMatrices,
       {kColour, kLightDir, kCameraPos, kPhongPower, kFog, kFogColour, kPhongExec, kAmbient, kShadowFactor},
       true},
      {14,
       u"hlsl_E5",
       nullptr,
       kAllMatrices,
       {kColour, kLightDir, kCameraPos, kPhongPower, kFog, kFogColour, kPhongExec, kColour2, kAmbient,
        kShadowFactor},
       true},
      {1, u"hlsl_bright", "BrightPassShader", 0, {{0, "Luminance"}}, true},
      {2, u"hlsl_down", "DownShader", 0, {}, true},
      {3, u"hlsl_gauss1", "GaussHShader", 0, {}, true},
      {4, u"hlsl_gauss2", "GaussVShader", 0, {}, true},
      {5, u"hlsl_combine", "Combine4Shader", 0, {}, true},
      {6, u"hlsl_3dgauss1", "GaussHShader", 0, {}, true},
      {8,
       u"hlsl_sdwland",
       nullptr,
       kBindMatWVP | kBindMatWLP | kBindMatWLPB,
       {kColour, kLightDir, kFog, kFogColour, kAmbient, kShadowFactor},
       true},
      {9, u"hlsl_bilbrd", nullptr, kAllMatrices, {kColour, kLightDir, kFog, kFogColour}, true},
      {10, u"hlsl_wire", nullptr, kBindMatWVP, {kColour, kFog, kFogColour, kAmbient}, false},
      {11,
       u"hlsl_window",
       nullptr,
       kBindMatL | kBindMatWVP,
       {kColour, kLightDir, kFog, kFogColour, kAmbient},
       true},
      {12,
       u"hlsl_tree",
       nullptr,
       kAllMatrices,
       {kColour, kLightDir, kFog, kFogColour, kAmbient, kShadowFactor},
       true},
      {13,
       u"hlsl_light",
       nullptr,
       kBindMatL | kBindMatWVP,
       {kColour, kLightDir, kFog, kFogColour, kAmbient, kShadowFactor},
       true},
  };
  return effects;
}

uint32_t EffectTargetTextureSize(uint32_t client, uint32_t divisor) {
  const uint32_t size = divisor != 0 ? client / divisor : client;
  return (size + 63u) / 64u * 64u;
}
