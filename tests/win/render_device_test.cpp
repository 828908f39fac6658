// Device creation on a hidden window, the base state, the transform and
// blending helpers, and a capture of a drawn frame.
#include <d3dx9.h>

#include <cmath>
#include <cstring>

#include "render/dx_primitive_win.h"
#include "render/dx_target_win.h"
#include "render/im_batch_win.h"
#include "render/image_utils_win.h"
#include "render_test_support.h"

namespace {

bool Near(float a, float b) {
  return a - b < 1e-5f && b - a < 1e-5f;
}

// Draws a filled quad over the middle of the viewport in plain colour.
void DrawColouredQuad(CDXRenderer* renderer, D3DCOLOR colour) {
  IDirect3DDevice9* device = renderer->Device();
  CDXPrimitive quad(renderer);
  ASSERT_HRESULT_SUCCEEDED(quad.CreateBuffers(D3DFVF_XYZRHW | D3DFVF_DIFFUSE, 4, 6, TRUE));
  struct {
    float x, y, z, rhw;
    D3DCOLOR c;
  } v[4] = {{80, 60, 0.5f, 1, colour},
            {240, 60, 0.5f, 1, colour},
            {80, 180, 0.5f, 1, colour},
            {240, 180, 0.5f, 1, colour}};
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  ASSERT_HRESULT_SUCCEEDED(quad.WriteVertices(v, 4));
  ASSERT_HRESULT_SUCCEEDED(quad.WriteIndices(indices, 6));
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTexture(0, nullptr);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
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

TEST_F(RendererDevice, BaseStateAfterSetup) {
  IDirect3DDevice9* device = renderer_->Device();
  DWORD value = 0;
  device->GetRenderState(D3DRS_AMBIENT, &value);
  EXPECT_EQ(value, 0xFFFFFFFFu);
  device->GetRenderState(D3DRS_ZWRITEENABLE, &value);
  EXPECT_EQ(value, static_cast<DWORD>(TRUE));
  device->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
  EXPECT_EQ(value, static_cast<DWORD>(D3DTADDRESS_CLAMP));
  device->GetSamplerState(2, D3DSAMP_MAGFILTER, &value);
  EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
  D3DLIGHT9 light{};
  device->GetLight(0, &light);
  EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
  EXPECT_FLOAT_EQ(light.Ambient.r, 0.2f);
  EXPECT_FLOAT_EQ(light.Range, 500.0f);
  D3DMATERIAL9 material{};
  device->GetMaterial(&material);
  EXPECT_FLOAT_EQ(material.Ambient.a, 0.5f);
  EXPECT_FLOAT_EQ(material.Power, 10.0f);
  // The camera looks from (0, 48, -150) at the origin.
  ASSERT_NE(renderer_->Camera(), nullptr);
  EXPECT_FLOAT_EQ(renderer_->Camera()->eye.y, 48.0f);
  EXPECT_FLOAT_EQ(renderer_->Camera()->far_plane, 4000.0f);
}

TEST_F(RendererDevice, ViewportSizeSetsTheAspectOfTheProjection) {
  ASSERT_HRESULT_SUCCEEDED(renderer_->SetViewportSize(200, 150));
  D3DXMATRIX projection;
  renderer_->Device()->GetTransform(D3DTS_PROJECTION, &projection);
  // Perspective: _22 = cot(fov / 2), _11 = _22 / aspect.
  EXPECT_NEAR(projection._22 / projection._11, 200.0f / 150.0f, 1e-5f);
  EXPECT_NEAR(projection._22, 1.0f / std::tan(D3DX_PI / 8.0f), 1e-5f);
  renderer_->SetViewportSize(320, 240);
}

TEST_F(RendererDevice, WorldFromEulerRotatesXThenZThenYThenTranslates) {
  IDirect3DDevice9* device = renderer_->Device();
  D3DXMATRIX world;
  renderer_->SetWorldFromEuler(0.0f, 0.0f, 0.0f, D3DXVECTOR3(1.0f, 2.0f, 3.0f));
  device->GetTransform(D3DTS_WORLD, &world);
  D3DXMATRIX translation;
  D3DXMatrixTranslation(&translation, 1.0f, 2.0f, 3.0f);
  EXPECT_EQ(std::memcmp(&world, &translation, sizeof world), 0);

  // Quarter turns: X maps y to z, Z maps x to y, Y maps z to x (row vectors).
  const float quarter = D3DX_PI / 2.0f;
  renderer_->SetWorldFromEuler(quarter, quarter, quarter, D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  device->GetTransform(D3DTS_WORLD, &world);
  D3DXVECTOR3 x(1.0f, 0.0f, 0.0f), out;
  D3DXVec3TransformCoord(&out, &x, &world);
  // x -(Rx)-> x -(Rz)-> y -(Ry)-> y
  EXPECT_TRUE(Near(out.x, 0.0f) && Near(out.y, 1.0f) && Near(out.z, 0.0f))
      << out.x << " " << out.y << " " << out.z;
  D3DXVECTOR3 y(0.0f, 1.0f, 0.0f);
  D3DXVec3TransformCoord(&out, &y, &world);
  // y -(Rx)-> z -(Rz)-> z -(Ry)-> x
  EXPECT_TRUE(Near(out.x, 1.0f) && Near(out.y, 0.0f) && Near(out.z, 0.0f))
      << out.x << " " << out.y << " " << out.z;
  renderer_->SetWorldIdentity();
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

TEST_F(RendererDevice, MultisampleChoiceNeedsBothFormatsAndALevelFromOneToFifteen) {
  D3DMULTISAMPLE_TYPE type = D3DMULTISAMPLE_4_SAMPLES;
  DWORD quality = 7;
  CDXRenderTarget::ChooseMultisample(renderer_->Device(), 0, D3DFMT_A8R8G8B8, &type, &quality);
  EXPECT_EQ(type, D3DMULTISAMPLE_NONE);
  EXPECT_EQ(quality, 0u);
  CDXRenderTarget::ChooseMultisample(renderer_->Device(), 16, D3DFMT_A8R8G8B8, &type, &quality);
  EXPECT_EQ(type, D3DMULTISAMPLE_NONE);

  IDirect3D9* d3d = renderer_->D3D();
  for (int level = 1; level <= 15; ++level) {
    const auto candidate = static_cast<D3DMULTISAMPLE_TYPE>(level + 1);
    const bool both =
        SUCCEEDED(
            d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_A8R8G8B8, TRUE, candidate, nullptr)) &&
        SUCCEEDED(d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_D24S8, TRUE, candidate, nullptr));
    CDXRenderTarget::ChooseMultisample(renderer_->Device(), level, D3DFMT_A8R8G8B8, &type, &quality);
    EXPECT_EQ(type, both ? candidate : D3DMULTISAMPLE_NONE) << "level " << level;
    EXPECT_EQ(quality, 0u);
  }
}

TEST_F(RendererDevice, DrawnFrameIsCapturedBeforePresentAndSavedAsPng) {
  IDirect3DDevice9* device = renderer_->Device();
  ASSERT_HRESULT_SUCCEEDED(
      device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0));
  ASSERT_HRESULT_SUCCEEDED(device->BeginScene());
  DrawColouredQuad(renderer_, 0xFFFF0000);
  device->EndScene();

  IDirect3DSurface9* copy = nullptr;
  ASSERT_HRESULT_SUCCEEDED(renderer_->CaptureBackBuffer(&copy));
  Pixels pixels;
  ASSERT_TRUE(ReadSurfacePixels(copy, pixels));
  EXPECT_EQ(pixels.width, 320u);
  EXPECT_TRUE(IsRed(pixels.At(160, 120))) << std::hex << pixels.At(160, 120);
  EXPECT_EQ(pixels.At(5, 5) & 0xFFFFFF, 0u);

  const std::u16string path = OutputPath("render-capture.png");
  ASSERT_HRESULT_SUCCEEDED(SaveSurfaceAsPng(copy, path));  // takes the reference
  renderer_->PresentFrame();

  const std::vector<uint8_t> png = ReadBytes(path);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  DibImage dib;
  ASSERT_EQ(DecodeImageToDib(png.data(), png.size(), dib), 1);
  EXPECT_EQ(dib.width, 320);
  EXPECT_EQ(dib.height, 240);
  const uint8_t* middle = dib.pixels + 120 * dib.stride + 160 * 3;  // blue, green, red
  EXPECT_GT(middle[2], 0xC0);
  EXPECT_LT(middle[0], 0x40);
  const uint8_t* corner = dib.pixels + 5 * dib.stride + 5 * 3;
  EXPECT_EQ(corner[0] | corner[1] | corner[2], 0);
  DeleteDibImage(dib);
}

TEST_F(RendererDevice, RenderTargetDrawnIntoIsSavedAsPng) {
  IDirect3DDevice9* device = renderer_->Device();
  CDXRenderTarget target(renderer_);
  ASSERT_HRESULT_SUCCEEDED(target.CreateTarget(320, 240, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0));
  IDirect3DSurface9* surface = nullptr;
  ASSERT_HRESULT_SUCCEEDED(target.GetDrawSurface(&surface));
  IDirect3DSurface9* back = nullptr;
  IDirect3DSurface9* depth = nullptr;
  device->GetRenderTarget(0, &back);
  device->GetDepthStencilSurface(&depth);
  device->SetRenderTarget(0, surface);
  device->SetDepthStencilSurface(nullptr);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  device->BeginScene();
  device->SetRenderState(D3DRS_ZENABLE, FALSE);
  DrawColouredQuad(renderer_, 0xFF0000FF);
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  device->EndScene();
  device->SetRenderTarget(0, back);
  device->SetDepthStencilSurface(depth);
  SafeRelease(back);
  SafeRelease(depth);

  const std::u16string path = OutputPath("render-target.png");
  ASSERT_HRESULT_SUCCEEDED(SaveSurfaceAsPng(surface, path));
  const std::vector<uint8_t> png = ReadBytes(path);
  DibImage dib;
  ASSERT_EQ(DecodeImageToDib(png.data(), png.size(), dib), 1);
  const uint8_t* middle = dib.pixels + 120 * dib.stride + 160 * 3;
  EXPECT_GT(middle[0], 0xC0);  // blue
  EXPECT_LT(middle[2], 0x40);
  DeleteDibImage(dib);
}
