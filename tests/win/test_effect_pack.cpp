// Every effect of the built resource pack goes through D3DXCreateEffect on a
// real device and exposes the technique and parameters the preview binds.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resource_pack_path.h"
#include "tests/effect_bindings.h"

namespace {

class DeviceFixture : public ::testing::Test {
 protected:
  HWND window_ = nullptr;
  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;

  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"effects", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window_);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(nullptr, d3d_);
    D3DPRESENT_PARAMETERS pp = {};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.hDeviceWindow = window_;
    HRESULT hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device_);
    ASSERT_EQ(D3D_OK, hr) << "no Direct3D 9 device (is a display there?)";
  }
  void TearDown() override {
    if (device_) device_->Release();
    if (d3d_) d3d_->Release();
    if (window_) DestroyWindow(window_);
  }
};

}  // namespace

TEST_F(DeviceFixture, EveryPackEffectLoadsWithItsHandles) {
  ResourcePack pack;
  SetResourcePackName(pack, u"zek5rlwck");
  ASSERT_EQ(S_OK, OpenResourcePack(pack)) << "pack beside the test program";
  for (const EffectBindings& e : PreviewEffectBindings()) {
    std::string name(e.entry, e.entry + std::char_traits<char16_t>::length(e.entry));
    SCOPED_TRACE(name);
    uint32_t size = 0;
    const uint8_t* data = FindResourceEntry(pack, e.entry, &size);
    ASSERT_NE(nullptr, data);
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT hr = D3DXCreateEffect(device_, data, size, nullptr, nullptr, 0, nullptr, &effect, &errors);
    if (errors) errors->Release();
    ReleaseResourceEntry(pack, e.entry);
    ASSERT_EQ(D3D_OK, hr);
    D3DXHANDLE technique = e.technique ? effect->GetTechniqueByName(e.technique) : effect->GetTechnique(0);
    EXPECT_NE(nullptr, technique);
    // Each parameter takes a value of its kind, as the preview sets them.
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    const D3DXVECTOR4 vector(0.5f, 0.25f, 1.0f, 1.0f);
    for (const std::string& name : e.parameters) {
      const char* parameter = name.c_str();
      D3DXHANDLE handle = effect->GetParameterByName(nullptr, parameter);
      ASSERT_NE(nullptr, handle) << parameter;
      D3DXPARAMETER_DESC desc;
      ASSERT_EQ(D3D_OK, effect->GetParameterDesc(handle, &desc));
      switch (desc.Class) {
        case D3DXPC_MATRIX_ROWS:
          EXPECT_EQ(D3D_OK, effect->SetMatrix(handle, &identity)) << parameter;
          break;
        case D3DXPC_VECTOR:
          EXPECT_EQ(D3D_OK, effect->SetVector(handle, &vector)) << parameter;
          break;
        case D3DXPC_SCALAR:
          EXPECT_EQ(D3D_OK, effect->SetFloat(handle, 2.0f)) << parameter;
          break;
        case D3DXPC_OBJECT:
          EXPECT_EQ(D3DXPT_TEXTURE, desc.Type) << parameter;
          EXPECT_EQ(D3D_OK, effect->SetTexture(handle, nullptr)) << parameter;
          break;
        default:
          ADD_FAILURE() << parameter << " has class " << desc.Class;
      }
    }
    EXPECT_EQ(nullptr, effect->GetParameterByName(nullptr, "noSuchParameter"));
    EXPECT_EQ(D3D_OK, effect->SetTechnique(technique));
    UINT passes = 0;
    ASSERT_EQ(D3D_OK, device_->BeginScene());
    EXPECT_EQ(D3D_OK, effect->Begin(&passes, 0));
    EXPECT_EQ(1u, passes);
    EXPECT_EQ(D3D_OK, effect->BeginPass(0));
    EXPECT_EQ(D3D_OK, effect->EndPass());
    EXPECT_EQ(D3D_OK, effect->End());
    device_->EndScene();
    effect->Release();
  }
}
