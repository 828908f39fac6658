// The sample vehicle compiled with the Direct3D preview factory: every
// preview mesh and texture becomes a device object, a frame of them is
// drawn and saved for a person to look at, and resetting the compiler
// leaves nothing behind in the renderer's list.
#include <d3dx9.h>

#include <memory>

#include "compiler/vehicle_compiler.h"
#include "platform/fs.h"
#include "render/preview_factory_win.h"
#include "render_test_support.h"

namespace {

std::u16string SourceFile(const char* relative) {
  std::u16string path;
  for (const char* p = RAILWICK_SOURCE_DIR; *p != 0; ++p) path.push_back(*p == '/' ? u'\\' : char16_t(*p));
  path += u"\\";
  for (const char* p = relative; *p != 0; ++p) path.push_back(*p == '/' ? u'\\' : char16_t(*p));
  return path;
}

void DrawMesh(const MeshSlot& slot) {
  if (CDXPrimitive* primitive = PrimitiveOf(slot.get())) primitive->Draw(D3DPT_TRIANGLELIST);
}

// A plain fixed-function picture of the vehicle: textured, lit by one
// directional light, bogies and wheels at their places.
void DrawVehicle(CDXRenderer* renderer, const PreviewState& p) {
  IDirect3DDevice9* device = renderer->Device();
  D3DXVECTOR3 eye(-90.0f, 45.0f, -120.0f), at(0.0f, 10.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  device->SetTransform(D3DTS_VIEW, &view);
  renderer->UpdateProjection();
  device->SetTransform(D3DTS_PROJECTION, &renderer->Camera()->projection);
  CDXLight light(renderer);
  light.SetDirectional({0.98f, 0.92f, 0.80f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.3f, 0.3f, 0.3f, 1.0f},
                       {1.4f, -1.5f, 2.0f});
  device->SetLight(0, &light.light);
  device->LightEnable(0, TRUE);
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_AMBIENT, 0xFF606060);
  renderer->SetBlendMode(BlendMode::kAlpha);
  renderer->SetWorldIdentity();

  device->SetTexture(0, TextureOf(p.main_texture.get())->Texture());
  for (uint32_t i = 0; i < p.body_count; ++i) DrawMesh(p.bodies[i]);
  for (uint32_t i = 0; i < p.roof_count; ++i) DrawMesh(p.roofs[i]);
  for (const MeshSlot* slot : {&p.interior, &p.window, &p.heated_window, &p.shunting_light}) DrawMesh(*slot);
  for (uint32_t i = 0; i < p.pantograph_count; ++i) DrawMesh(p.pantographs[i].first);
  for (uint32_t i = 0; i < p.head_light_count; ++i) DrawMesh(p.head_lights[i]);
  for (uint32_t i = 0; i < p.tail_light_count; ++i) DrawMesh(p.tail_lights[i]);
  DrawMesh(p.driving_wheels[0]);
  for (uint32_t b = 0; b < p.bogie_count; ++b) {
    const PreviewBogie& bogie = p.bogies[b];
    renderer->SetWorldFromEuler(0.0f, 0.0f, 0.0f, D3DXVECTOR3(bogie.position, 0.0f, 0.0f));
    if (bogie.frame_index >= 0) DrawMesh(p.bogie_frames[bogie.frame_index]);
    for (uint32_t w = 0; w < bogie.wheel_count; ++w) {
      const float* at_wheel = bogie.wheel_placements[w];
      renderer->SetWorldFromEuler(0.0f, 0.0f, 0.0f,
                                  D3DXVECTOR3(bogie.position + at_wheel[0], at_wheel[1], at_wheel[2]));
      DrawMesh(p.wheels[bogie.wheel_indices[w]].mesh);
    }
  }
  renderer->SetWorldIdentity();
  device->SetTexture(0, TextureOf(p.sign_texture.get())->Texture());
  for (const MeshSlot* slot : {&p.lit_sign, &p.side_sign, &p.side_sign2, &p.led_sign, &p.head_marks[0]})
    DrawMesh(*slot);
  device->SetTexture(0, nullptr);
  renderer->SetBlendMode(BlendMode::kOpaque);
}

}  // namespace

class SampleVehicle : public DeviceTest {};

TEST_F(SampleVehicle, CompiledPreviewObjectsAreDeviceObjectsThatDraw) {
  CD3DObject* first = renderer_->FirstObject();
  const std::u16string models = SourceFile("examples/models/");
  std::vector<uint8_t> script;
  ASSERT_TRUE(FsReadFile(models + u"sample_models.txt", script));
  D3DPreviewFactory factory(renderer_);
  auto compiler = std::make_unique<VehicleCompiler>();
  compiler->preview_factory = &factory;
  compiler->output_override = ScratchFolder() + u"sample_models.z5t";
  SetScriptPath(*compiler, models + u"sample_models.txt");
  const std::u16string here = FsCurrentDirectory();
  ASSERT_TRUE(FsSetCurrentDirectory(models));
  LogBuffer log;
  const uint32_t result = Compile(*compiler, reinterpret_cast<char*>(script.data()), script.size(), log);
  FsSetCurrentDirectory(here);
  ASSERT_EQ(result, 0u);

  const PreviewState& p = compiler->preview;
  const MeshSlot* filled[] = {&p.bodies[0],       &p.roofs[0],
                              &p.window,          &p.heated_window,
                              &p.interior,        &p.lit_sign,
                              &p.side_sign,       &p.side_sign2,
                              &p.led_sign,        &p.head_marks[0],
                              &p.head_lights[0],  &p.tail_lights[1],
                              &p.shunting_light,  &p.pantographs[0].first,
                              &p.bogie_frames[1], &p.wheels[0].mesh};
  for (const MeshSlot* slot : filled) {
    ASSERT_TRUE(*slot);
    CDXPrimitive* primitive = PrimitiveOf(slot->get());
    ASSERT_NE(primitive, nullptr);
    EXPECT_TRUE((*slot)->loaded) << std::string((*slot)->source.begin(), (*slot)->source.end());
    EXPECT_EQ(primitive->VerticesInUse(), (*slot)->vertex_count);
    EXPECT_EQ(primitive->IndicesInUse(), (*slot)->index_count);
    EXPECT_NE(primitive->VertexBuffer(), nullptr);
  }
  EXPECT_EQ(PrimitiveOf(p.bodies[0].get())->Format(), 0x212u);
  EXPECT_LT(p.bodies[0]->bounds_min[0], p.bodies[0]->bounds_max[0]);
  ASSERT_TRUE(p.main_texture && p.sign_texture);
  ASSERT_NE(TextureOf(p.main_texture.get()), nullptr);
  EXPECT_EQ(TextureOf(p.main_texture.get())->Width(), 256.0f);
  EXPECT_EQ(TextureOf(p.sign_texture.get())->Width(), 128.0f);

  // One frame of it, captured before it is presented.
  IDirect3DDevice9* device = renderer_->Device();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  device->BeginScene();
  DrawVehicle(renderer_, p);
  device->EndScene();
  IDirect3DSurface9* copy = nullptr;
  ASSERT_HRESULT_SUCCEEDED(renderer_->CaptureBackBuffer(&copy));
  copy->AddRef();
  Pixels pixels;
  ASSERT_TRUE(ReadSurfacePixels(copy, pixels));
  EXPECT_HRESULT_SUCCEEDED(SaveSurfaceAsPng(copy, OutputPath("render-sample-vehicle.png")));
  copy->Release();
  renderer_->PresentFrame();
  EXPECT_GT(pixels.CountNotBlack(), pixels.argb.size() / 10);

  // The objects survive a reset with the rest.
  renderer_->ReleaseAllDeviceObjects();
  ASSERT_EQ(renderer_->ResetDevice(), D3D_OK);
  ASSERT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  EXPECT_NE(TextureOf(p.main_texture.get())->Texture(), nullptr);
  EXPECT_EQ(PrimitiveOf(p.bodies[0].get())->VerticesInUse(), p.bodies[0]->vertex_count);

  ResetCompiler(*compiler);
  EXPECT_EQ(renderer_->FirstObject(), first);
}
