// What the preview binds in each effect of the resource pack: the entry, the
// technique it selects by name (null where it uses none), and the parameter
// names (matrices, numbered parameters, "TexSrcColor"). Written from the
// preview's effect table; shared by the native and the Windows tests.
#pragma once
#include <string>
#include <vector>

struct EffectBindings {
  const char16_t* entry;
  const char* technique;
  std::vector<std::string> parameters;
};

inline std::vector<EffectBindings> PreviewEffectBindings() {
  const std::vector<std::string> m4 = {"matL", "matWVP", "matWLP", "matWLPB"};
  auto with = [](std::vector<std::string> a, std::vector<std::string> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  return {
      {u"hlsl_shadow", nullptr,
       with(m4, {"vCol", "vLightDir", "vCameraPos", "phongpower", "vFog", "vFogColor", "phongexec", "ambient",
                 "shadowfactor", "TexSrcColor"})},
      {u"hlsl_E5", nullptr,
       with(m4, {"vCol", "vLightDir", "vCameraPos", "phongpower", "vFog", "vFogColor", "phongexec", "vCol2",
                 "ambient", "shadowfactor", "TexSrcColor"})},
      {u"hlsl_bright", "BrightPassShader", {"Luminance", "TexSrcColor"}},
      {u"hlsl_down", "DownShader", {"TexSrcColor"}},
      {u"hlsl_gauss1", "GaussHShader", {"TexSrcColor"}},
      {u"hlsl_gauss2", "GaussVShader", {"TexSrcColor"}},
      {u"hlsl_combine", "Combine4Shader", {"TexSrcColor"}},
      {u"hlsl_3dgauss1", "GaussHShader", {"TexSrcColor"}},
      {u"hlsl_sdwland",
       nullptr,
       {"matWVP", "matWLP", "matWLPB", "vCol", "vLightDir", "vFog", "vFogColor", "ambient", "shadowfactor",
        "TexSrcColor"}},
      {u"hlsl_bilbrd", nullptr, with(m4, {"vCol", "vLightDir", "vFog", "vFogColor", "TexSrcColor"})},
      {u"hlsl_wire", nullptr, {"matWVP", "vCol", "vFog", "vFogColor", "ambient"}},
      {u"hlsl_window",
       nullptr,
       {"matL", "matWVP", "vCol", "vLightDir", "vFog", "vFogColor", "ambient", "TexSrcColor"}},
      {u"hlsl_tree", nullptr,
       with(m4, {"vCol", "vLightDir", "vFog", "vFogColor", "ambient", "shadowfactor", "TexSrcColor"})},
      {u"hlsl_light",
       nullptr,
       {"matL", "matWVP", "vCol", "vLightDir", "vFog", "vFogColor", "ambient", "shadowfactor",
        "TexSrcColor"}},
  };
}
