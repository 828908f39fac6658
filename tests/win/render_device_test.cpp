// Device creation on a hidden window, the blending helper, and a capture
// of a drawn frame before it is presented (the world transform: the preview's drawing test).
#include <d3dx9.h>

#include <cstring>

#include "render/dx_primitive_win.h"
#include "render/im_batch_win.h"
#include "render_test_support.h"

namespace {

// Draws a filled quad over the middle of the viewport in plain colour.
void DrawColouredQuad(CDXRenderer* renderer, D3DCOLOR colour) {
  CDXPrimitive quad(renderer);
  ASSERT_HRESULT_SUCCEEDED(quad.CreateBuffers(D3DFVF_XYZRHW | D3DFVF_DIFFUSE, 4, 6, TRUE));
  struct {
    float x, y, z, rhw;
    D3DCOLOR c;
  } v[4] = {{80, 60, 0.5f, 1, colour}, {240, 60, 0.5f, 1, colour},
            {80, 180, 0.5f, 1, colour}, {240, 180, 0.5f, 1, colour}};
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  ASSERT_HRESULT_SUCCEEDED(quad.WriteVertices(v, 4));
  ASSERT_HRESULT_SUCCEEDED(quad.WriteIndices(indices, 6));
  ASSERT_HRESULT_SUCCEEDED(quad.Draw(D3DPT_TRIANGLELIST));
}

}  // namespace

class RendererDevice : public DeviceTest {};

TEST_F(RendererDevice, DeviceIsWindowedWithCheckedDepthAndMultisampling) {
  const D3DPRESENT_PARAMETERS& p = renderer_->PresentParameters();
  EXPECT_TRUE(p.Windowed);
  EXPECT_EQ(p.hDeviceWindow, window_);
  EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_TRUE(p.EnableAutoDepthStencil);
  EXPECT_EQ(p.PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
  EXPECT_EQ(p.BackBufferWidth, 320u);  // the client area, filled in by the device
  EXPECT_EQ(p.BackBufferHeight, 240u);
  EXPECT_TRUE(p.AutoDepthStencilFormat == D3DFMT_D24X8 || p.AutoDepthStencilFormat == D3DFMT_D16);

  // Two samples exactly when both the colour and the depth format allow them.
  D3DDISPLAYMODE mode{};
  ASSERT_HRESULT_SUCCEEDED(renderer_->D3D()->GetAdapterDisplayMode(0, &mode));
  const bool both =
      SUCCEEDED(renderer_->D3D()->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, mode.Format, TRUE,
                                                             D3DMULTISAMPLE_2_SAMPLES, nullptr)) &&
      SUCCEEDED(renderer_->D3D()->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, p.AutoDepthStencilFormat,
                                                             TRUE, D3DMULTISAMPLE_2_SAMPLES, nullptr));
  EXPECT_EQ(p.MultiSampleType, both ? D3DMULTISAMPLE_2_SAMPLES : D3DMULTISAMPLE_NONE);

  // The set-up frame was presented and the versions recorded.
  EXPECT_EQ(renderer_->FrameCount(), 1u);
  EXPECT_GE(renderer_->VertexShaderVersion(), 0x0200u);
  EXPECT_GE(renderer_->PixelShaderVersion(), 0x0200u);
  EXPECT_EQ(renderer_->CheckDeviceState(), kDeviceUsable);
}

TEST_F(RendererDevice, BlendModesLeaveAlphaTestAloneWithoutItsSupport) {
  IDirect3DDevice9* device = renderer_->Device();
  const bool supported = renderer_->AlphaTestSupported();
  DWORD value = 0;

  renderer_->SetAlphaTestSupported(false);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHAREF, 0x33);
  for (int mode = 0; mode <= 10; ++mode) renderer_->SetBlendMode(static_cast<BlendMode>(mode));
  device->GetRenderState(D3DRS_ALPHATESTENABLE, &value);
  EXPECT_EQ(value, static_cast<DWORD>(FALSE));
  device->GetRenderState(D3DRS_ALPHAREF, &value);
  EXPECT_EQ(value, 0x33u);
  device->GetRenderState(D3DRS_DESTBLEND, &value);  // mode 10 still blends
  EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_ONE));

  renderer_->SetAlphaTestSupported(true);
  renderer_->SetBlendMode(BlendMode::kColourTranslucent);
  device->GetRenderState(D3DRS_ALPHAREF, &value);
  EXPECT_EQ(value, 0x80u);
  device->GetTextureStageState(0, D3DTSS_ALPHAOP, &value);
  EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_SELECTARG1));
  renderer_->SetBlendMode(static_cast<BlendMode>(11));  // no such mode: nothing changes
  device->GetRenderState(D3DRS_ALPHAREF, &value);
  EXPECT_EQ(value, 0x80u);
  renderer_->SetAlphaTestSupported(supported);
  renderer_->SetBlendMode(BlendMode::kOpaque);
}

TEST_F(RendererDevice, DrawnFrameIsCapturedBeforePresent) {
  BeginPlainFrame(*renderer_);
  DrawColouredQuad(renderer_, 0xFFFF0000);
  renderer_->Device()->EndScene();
  // The copy is taken before the frame is presented.
  const Pixels pixels = ReadBackBuffer(*renderer_);
  renderer_->PresentFrame();
  renderer_->Device()->SetRenderState(D3DRS_LIGHTING, TRUE);
  ASSERT_EQ(pixels.width, 320u);
  ASSERT_EQ(pixels.height, 240u);
  EXPECT_EQ(pixels.At(160, 120) & 0xC0C0C0, 0xC00000u) << std::hex << pixels.At(160, 120);
  EXPECT_EQ(pixels.At(5, 5) & 0xFFFFFF, 0u);
}
