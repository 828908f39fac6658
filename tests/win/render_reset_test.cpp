// A device reset simulated over every kind of object: release (twice),
// a real Reset, restore, and the contents and state found again (effects:
// the preview's drawing test).
#include <d3dx9.h>

#include <cstring>
#include <memory>

#include "render/dx_font_win.h"
#include "render/dx_primitive_win.h"
#include "render/dx_target_win.h"
#include "render/dx_texture_win.h"
#include "render/im_batch_win.h"
#include "render_test_support.h"

namespace {

// The bytes in use of a vertex or index buffer; empty when it cannot be read.
template <typename Buffer>
std::vector<uint8_t> BytesOf(Buffer* buffer, UINT size) {
  std::vector<uint8_t> bytes;
  void* data = nullptr;
  if (buffer == nullptr || FAILED(buffer->Lock(0, size, &data, D3DLOCK_READONLY))) return bytes;
  bytes.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  buffer->Unlock();
  return bytes;
}

// Vertices and indices in use, as the buffers hold them.
std::vector<uint8_t> MeshBytes(CDXPrimitive& p) {
  std::vector<uint8_t> bytes = BytesOf(p.VertexBuffer(), p.VerticesInUse() * p.VertexSize());
  const std::vector<uint8_t> indices = BytesOf(p.IndexBuffer(), p.IndicesInUse() * 2);
  bytes.insert(bytes.end(), indices.begin(), indices.end());
  return bytes;
}


}  // namespace

class DeviceReset : public DeviceTest {};

TEST_F(DeviceReset, EveryObjectIsReleasedAndRestoredAroundARealReset) {
  IDirect3DDevice9* device = renderer_->Device();

  // Meshes: managed with indices, system memory without.
  CDXPrimitive indexed(renderer_), plain(renderer_);
  ASSERT_HRESULT_SUCCEEDED(indexed.CreateBuffers(0x112, 4, 6, TRUE));
  float quad[32];
  for (int i = 0; i < 32; ++i) quad[i] = i * 0.5f;
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  ASSERT_HRESULT_SUCCEEDED(indexed.WriteVertices(quad, 4));
  ASSERT_HRESULT_SUCCEEDED(indexed.WriteIndices(indices, 6));
  ASSERT_HRESULT_SUCCEEDED(plain.CreateBuffers(0x112, 3, 0, FALSE));
  ASSERT_HRESULT_SUCCEEDED(plain.WriteVertices(quad, 3));
  const std::vector<uint8_t> indexed_bytes = MeshBytes(indexed), plain_bytes = MeshBytes(plain);

  // Batches.
  CIMLine3D lines(renderer_);
  ASSERT_HRESULT_SUCCEEDED(lines.Create(4));
  lines.AddLine(D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(1, 0, 0));
  ASSERT_HRESULT_SUCCEEDED(lines.Draw());
  CIMSprite sprite(renderer_);
  ASSERT_HRESULT_SUCCEEDED(sprite.Create());

  // Textures: from an image (default pool), empty render target.
  DibImage dib;
  ASSERT_EQ(CreateDibImage(dib, 4, 4), 1);
  CDXTexture from_image(renderer_), empty(renderer_);
  ASSERT_HRESULT_SUCCEEDED(from_image.CreateFromImage24(dib));
  DeleteDibImage(dib);
  ASSERT_HRESULT_SUCCEEDED(empty.CreateEmpty(64, 32, D3DFMT_A8R8G8B8, TRUE));

  // Targets, depth surface, font.
  CDXRenderTarget target(renderer_), multisampled(renderer_);
  ASSERT_HRESULT_SUCCEEDED(target.CreateTarget(64, 64, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0));
  D3DMULTISAMPLE_TYPE type;
  DWORD quality;
  CDXRenderTarget::ChooseMultisample(device, 1, D3DFMT_A8R8G8B8, &type, &quality);
  ASSERT_HRESULT_SUCCEEDED(multisampled.CreateTarget(64, 64, D3DFMT_A8R8G8B8, type, quality));
  CDXStencil stencil(renderer_);
  ASSERT_HRESULT_SUCCEEDED(stencil.Create(64, 64, D3DMULTISAMPLE_NONE, 0));
  CDXFont font(renderer_);
  D3DXFONT_DESCW desc{12, 0, FW_NORMAL, 1, FALSE, 0, 0, 0, 0, L"Arial"};
  ASSERT_HRESULT_SUCCEEDED(font.Create(desc));

  // State the reset must bring back.
  device->SetRenderState(D3DRS_FOGCOLOR, 0x00123456);
  device->SetRenderState(D3DRS_TEXTUREFACTOR, 0x89ABCDEF);
  device->LightEnable(0, TRUE);

  // Release twice: the second keeps what the first saved.
  renderer_->ReleaseAllDeviceObjects();
  renderer_->ReleaseAllDeviceObjects();
  EXPECT_EQ(indexed.VertexBuffer(), nullptr);
  EXPECT_EQ(indexed.IndexBuffer(), nullptr);
  EXPECT_TRUE(indexed.HoldsSavedCopy());
  EXPECT_TRUE(plain.HoldsSavedCopy());
  EXPECT_EQ(from_image.Texture(), nullptr);
  EXPECT_EQ(empty.Texture(), nullptr);
  EXPECT_EQ(target.Texture()->Texture(), nullptr);
  EXPECT_EQ(stencil.Surface(), nullptr);
  EXPECT_EQ(font.Font(), nullptr);

  // The device resets only when nothing of the default pool is left.
  device->SetRenderState(D3DRS_FOGCOLOR, 0);
  ASSERT_EQ(renderer_->ResetDevice(), D3D_OK);

  ASSERT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  EXPECT_EQ(MeshBytes(indexed), indexed_bytes);
  EXPECT_EQ(MeshBytes(plain), plain_bytes);
  EXPECT_EQ(plain.IndexBuffer(), nullptr);
  EXPECT_FALSE(indexed.HoldsSavedCopy());
  EXPECT_EQ(lines.Primitive().VerticesInUse(), 2u);
  EXPECT_NE(from_image.Texture(), nullptr);
  EXPECT_EQ(from_image.Width(), 4.0f);
  ASSERT_NE(empty.Texture(), nullptr);
  EXPECT_EQ(empty.Description().Usage, static_cast<DWORD>(D3DUSAGE_RENDERTARGET));
  EXPECT_EQ(empty.Width(), 64.0f);
  EXPECT_NE(target.Texture()->Texture(), nullptr);
  if (type != D3DMULTISAMPLE_NONE) {
    EXPECT_NE(multisampled.MultisampleSurface(), nullptr);
  }
  EXPECT_NE(stencil.Surface(), nullptr);
  EXPECT_NE(font.Font(), nullptr);
  EXPECT_NE(font.Sprite(), nullptr);

  DWORD value = 0;
  device->GetRenderState(D3DRS_FOGCOLOR, &value);
  EXPECT_EQ(value, 0x00123456u);
  device->GetRenderState(D3DRS_TEXTUREFACTOR, &value);
  EXPECT_EQ(value, 0x89ABCDEFu);
  BOOL enabled = FALSE;
  device->GetLightEnable(0, &enabled);
  EXPECT_TRUE(enabled);
  device->GetSamplerState(1, D3DSAMP_ADDRESSU, &value);
  EXPECT_EQ(value, static_cast<DWORD>(D3DTADDRESS_WRAP));

  // A second restore leaves the restored objects as they are.
  IDirect3DTexture9* before = from_image.Texture();
  EXPECT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  EXPECT_EQ(from_image.Texture(), before);
  EXPECT_EQ(MeshBytes(indexed), indexed_bytes);
}

// An object that cannot be made again until told it can.
struct FailingObject : CD3DObject {
  using CD3DObject::CD3DObject;
  bool can_restore = false, restored = false;
  HRESULT RestoreDeviceObjects() override {
    restored = can_restore;
    return can_restore ? S_OK : E_FAIL;
  }
};

TEST_F(DeviceReset, RestoreGoesOnPastAFailingObjectAndReportsIt) {
  CDXPrimitive mesh(renderer_);
  ASSERT_HRESULT_SUCCEEDED(mesh.CreateBuffers(0x112, 3, 3, FALSE));
  FailingObject failing(renderer_);  // newest, so restored first

  renderer_->ReleaseAllDeviceObjects();
  ASSERT_EQ(renderer_->ResetDevice(), D3D_OK);
  EXPECT_TRUE(FAILED(renderer_->RestoreAllDeviceObjects()));
  EXPECT_NE(mesh.VertexBuffer(), nullptr);  // restored all the same

  // A later restore takes it up again.
  failing.can_restore = true;
  EXPECT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  EXPECT_TRUE(failing.restored);
}

TEST(DeviceLifetime, ObjectsOutlivingTheRendererNoLongerReachIt) {
  HWND window = CreateHiddenWindow(64, 64);
  ASSERT_NE(window, nullptr);
  auto renderer = std::make_unique<CDXRenderer>();
  ASSERT_HRESULT_SUCCEEDED(renderer->InitDevice(64, 64, window));
  auto mesh = std::make_unique<CDXPrimitive>(renderer.get());
  ASSERT_HRESULT_SUCCEEDED(mesh->CreateBuffers(0x112, 3, 3, TRUE));
  auto texture = std::make_unique<CDXTexture>(renderer.get());
  ASSERT_HRESULT_SUCCEEDED(texture->CreateEmpty(8, 8, D3DFMT_A8R8G8B8, FALSE));
  renderer.reset();
  EXPECT_EQ(mesh->Renderer(), nullptr);
  EXPECT_EQ(mesh->Device(), nullptr);
  EXPECT_TRUE(FAILED(mesh->Draw(D3DPT_TRIANGLELIST)));
  mesh.reset();
  texture.reset();
  DestroyWindow(window);
}

TEST_F(DeviceReset, FailedResetLeavesTheDeviceLostUntilARetrySucceeds) {
  CDXTexture target(renderer_);
  ASSERT_HRESULT_SUCCEEDED(target.CreateEmpty(8, 8, D3DFMT_A8R8G8B8, TRUE));
  // A default-pool texture still alive makes the reset fail.
  EXPECT_NE(renderer_->ResetDevice(), D3D_OK);
  EXPECT_TRUE(renderer_->DeviceMayBeLost());
  EXPECT_EQ(renderer_->CheckDeviceState(), kDeviceNeedsReset);

  renderer_->ReleaseAllDeviceObjects();
  EXPECT_EQ(renderer_->ResetDevice(), D3D_OK);
  EXPECT_EQ(renderer_->CheckDeviceState(), kDeviceUsable);
  EXPECT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  EXPECT_NE(target.Texture(), nullptr);
}

TEST_F(DeviceReset, ResizingResetsTheBackBufferToTheNewSize) {
  renderer_->ReleaseAllDeviceObjects();
  ASSERT_EQ(renderer_->SetBackBufferSize(200, 100), D3D_OK);
  ASSERT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  // The projection follows the viewport the reset set up (the back buffer's
  // size: a screenshot after a resize has it, tools/wine-e2e.sh).
  D3DXMATRIX projection;
  renderer_->Device()->GetTransform(D3DTS_PROJECTION, &projection);
  EXPECT_NEAR(projection._22 / projection._11, 2.0f, 1e-5f);

  renderer_->ReleaseAllDeviceObjects();
  ASSERT_EQ(renderer_->SetBackBufferSize(320, 240), D3D_OK);
  ASSERT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
}
