// Effects made from a compiled effect binary (written by BuildTestEffect),
// their technique and parameter handles, and re-creation from file or memory.
#include <d3dx9.h>

#include <string>

#include "render/dx_shader_win.h"
#include "render_test_support.h"

class Effects : public DeviceTest {};

TEST_F(Effects, HandlesAreBoundByNameAndTheTechniqueRuns) {
  CDXShader shader(renderer_);
  const std::vector<uint8_t> effect = BuildTestEffect();
  ASSERT_HRESULT_SUCCEEDED(shader.CreateFromMemory(effect.data(), effect.size()));
  ASSERT_HRESULT_SUCCEEDED(shader.SelectTechnique("TestTechnique"));
  ASSERT_HRESULT_SUCCEEDED(shader.ApplyTechnique());
  EXPECT_HRESULT_SUCCEEDED(shader.BindMatL());
  EXPECT_HRESULT_SUCCEEDED(shader.BindMatWVP());
  EXPECT_HRESULT_SUCCEEDED(shader.BindTexSrcColor());
  EXPECT_TRUE(FAILED(shader.BindMatWLP()));  // not in this effect
  EXPECT_EQ(shader.Fixed(kShaderMatWLP), nullptr);
  EXPECT_HRESULT_SUCCEEDED(shader.BindParameter(15, "vCol"));
  EXPECT_TRUE(FAILED(shader.BindParameter(16, "vCol")));
  EXPECT_TRUE(FAILED(shader.BindParameter(-1, "vCol")));
  EXPECT_EQ(shader.Parameter(16), nullptr);

  // The handles work: a value set through one reads back.
  const D3DXVECTOR4 colour(0.25f, 0.5f, 0.75f, 1.0f);
  ASSERT_HRESULT_SUCCEEDED(shader.Effect()->SetVector(shader.Parameter(15), &colour));
  D3DXVECTOR4 read;
  ASSERT_HRESULT_SUCCEEDED(shader.Effect()->GetVector(shader.Parameter(15), &read));
  EXPECT_EQ(read.z, 0.75f);
  UINT passes = 0;
  ASSERT_HRESULT_SUCCEEDED(shader.Effect()->Begin(&passes, 0));
  EXPECT_EQ(passes, 1u);
  EXPECT_HRESULT_SUCCEEDED(shader.Effect()->BeginPass(0));
  shader.Effect()->EndPass();
  shader.Effect()->End();

  // A name longer than its field is cut, not written past it.
  const std::string long_name(100, 'x');
  EXPECT_TRUE(FAILED(shader.SelectTechnique(long_name.c_str())));
  EXPECT_TRUE(FAILED(shader.BindParameter(3, long_name.c_str())));
  EXPECT_TRUE(FAILED(shader.ApplyTechnique()));
}

TEST_F(Effects, EffectsComeBackFromTheirFileOrTheirBytes) {
  const std::vector<uint8_t> effect = BuildTestEffect();
  const std::u16string path = ScratchFolder() + u"test.fxo";
  WriteBytes(path, effect);

  CDXShader from_file(renderer_), from_memory(renderer_);
  ASSERT_HRESULT_SUCCEEDED(from_file.CreateFromFile(path));
  ASSERT_HRESULT_SUCCEEDED(from_file.SelectTechnique("TestTechnique"));
  ASSERT_HRESULT_SUCCEEDED(from_file.BindParameter(0, "vCol"));
  {
    std::vector<uint8_t> copy = effect;  // the shader keeps its own copy
    ASSERT_HRESULT_SUCCEEDED(from_memory.CreateFromMemory(copy.data(), copy.size()));
  }
  ASSERT_HRESULT_SUCCEEDED(from_memory.BindMatL());

  for (CDXShader* shader : {&from_file, &from_memory}) {
    ASSERT_HRESULT_SUCCEEDED(shader->ReleaseDeviceObjects());
    EXPECT_EQ(shader->Effect(), nullptr);
    EXPECT_EQ(shader->Parameter(0), nullptr);
    EXPECT_EQ(shader->Fixed(kShaderMatL), nullptr);
    ASSERT_HRESULT_SUCCEEDED(shader->RestoreDeviceObjects());
    EXPECT_NE(shader->Effect(), nullptr);
  }
  EXPECT_NE(from_file.Technique(), nullptr);
  EXPECT_NE(from_file.Parameter(0), nullptr);
  EXPECT_NE(from_memory.Fixed(kShaderMatL), nullptr);
  EXPECT_EQ(from_memory.Technique(), nullptr);  // never selected

  // An effect never created has nothing to restore.
  CDXShader unused(renderer_);
  EXPECT_EQ(unused.RestoreDeviceObjects(), S_OK);
  EXPECT_EQ(unused.Effect(), nullptr);
  EXPECT_TRUE(FAILED(unused.CreateFromMemory(nullptr, 10)));
}
