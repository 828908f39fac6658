// The vehicle preview on a real device under Wine: the sample vehicle's
// objects through a device reset, wheels that stand still without a
// diameter, the renderer's world as the vehicle's placement, the effects of
// the resource pack and the text overlay's queue. (What its keys show is
// checked on the running program by tools/wine-e2e-preview.sh.)
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <d3dx9.h>
// clang-format on

#include <cmath>
#include <memory>
#include <string>

#include "compiler/preview_objects.h"
#include "compiler/vehicle_compiler.h"
#include "platform/fs.h"
#include "preview/camera_rig_win.h"
#include "preview/effect_set_win.h"
#include "preview/placement.h"
#include "preview/text_overlay_win.h"
#include "preview/vehicle_drawing_win.h"
#include "render/preview_factory_win.h"
#include "tests/win/render_test_support.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;

class PreviewDrawing : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    if (renderer_ == nullptr) GTEST_SKIP() << "no device";
    factory_ = std::make_unique<D3DPreviewFactory>(renderer_);
    light_ = std::make_unique<CDXLight>(renderer_);
    light_->SetDirectional({0.98f, 0.92f, 0.80f, 1.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.3f, 0.3f, 0.3f, 1.0f},
                           {1.4f, -1.5f, 2.0f});
  }

  // The sample vehicle of examples/models, compiled with Direct3D meshes.
  std::unique_ptr<VehicleCompiler> CompileSample() {
    const std::u16string models = SourceFile("examples/models/");
    std::vector<uint8_t> script;
    EXPECT_TRUE(FsReadFile(models + u"sample_models.txt", script));
    auto compiler = std::make_unique<VehicleCompiler>();
    compiler->preview_factory = factory_.get();
    compiler->output_override = ScratchFolder() + u"sample.z5t";
    const std::u16string saved = FsCurrentDirectory();
    FsSetCurrentDirectory(models);
    SetScriptPath(*compiler, models + u"sample_models.txt");
    LogBuffer log;
    EXPECT_EQ(Compile(*compiler, reinterpret_cast<char*>(script.data()), script.size(), log), 0u);
    FsSetCurrentDirectory(saved);
    AttachGuideLines(*compiler);
    return compiler;
  }

  // One frame as the scene draws it, read back from the back buffer.
  Pixels Draw(const VehicleCompiler* compiler, PreviewView* view, uint32_t clock) {
    IDirect3DDevice9* device = renderer_->Device();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    CameraRig rig(renderer_, kPi / 4);
    rig.Request(D3DXVECTOR3(0, 20, -150), D3DXVECTOR3(0, 20, 0), D3DXVECTOR3(0, 1, 0));
    rig.Apply(device);
    std::vector<DrawOp> ops;
    if (compiler != nullptr) DrawCompiledVehicle(*renderer_, *compiler, *view, light_->light, clock, ops);
    device->EndScene();
    Pixels pixels = ReadBackBuffer(*renderer_);
    renderer_->PresentFrame();
    return pixels;
  }

  static size_t Differing(const Pixels& a, const Pixels& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.argb.size() && i < b.argb.size(); ++i)
      n += (a.argb[i] & 0xFFFFFF) != (b.argb[i] & 0xFFFFFF);
    return n;
  }

  std::unique_ptr<D3DPreviewFactory> factory_;
  std::unique_ptr<CDXLight> light_;
};

// Its meshes and textures are device objects: they come back after a
// reset, and the compiler's reset leaves none behind. Seen from the side,
// the head lights (key H) face away and change nothing.
TEST_F(PreviewDrawing, SampleVehicleComesBackAfterADeviceReset) {
  CD3DObject* first = renderer_->FirstObject();
  auto compiler = CompileSample();
  PreviewView view = InitialPreviewView(compiler->preview);
  const Pixels vehicle = Draw(compiler.get(), &view, 1000);
  EXPECT_GT(vehicle.CountNotBlack(), 320u * 240u / 10);
  ApplyPreviewKey(view, 'H', 1);
  renderer_->ReleaseAllDeviceObjects();
  ASSERT_EQ(renderer_->ResetDevice(), D3D_OK);
  ASSERT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  EXPECT_EQ(Differing(vehicle, Draw(compiler.get(), &view, 1000)), 0u);
  ResetCompiler(*compiler);
  EXPECT_EQ(renderer_->FirstObject(), first);
}

TEST_F(PreviewDrawing, WheelsTurnWithTheClockButNotWithoutADiameter) {
  auto compiler = CompileSample();
  PreviewView view = InitialPreviewView(compiler->preview);
  // Seen from below the floor, where the wheels are in full view.
  view.rotation[0] = 90;
  const Pixels early = Draw(compiler.get(), &view, 1000);
  const Pixels later = Draw(compiler.get(), &view, 1450);
  EXPECT_GT(Differing(early, later), 0u);
  for (PreviewWheel& wheel : compiler->preview.wheels) wheel.diameter = 0;
  const Pixels still = Draw(compiler.get(), &view, 1000);
  EXPECT_EQ(Differing(still, Draw(compiler.get(), &view, 1450)), 0u);
  EXPECT_GT(still.CountNotBlack(), 0u);
  ResetCompiler(*compiler);
}

TEST_F(PreviewDrawing, TheRenderersWorldIsTheVehiclesPlacement) {
  const float degrees[3] = {12, -80, 33}, translation[3] = {1.5f, -2, 40};
  renderer_->SetWorldFromEuler(degrees[0] * kPi / 180, degrees[1] * kPi / 180, degrees[2] * kPi / 180,
                               D3DXVECTOR3(translation[0], translation[1], translation[2]));
  D3DMATRIX world;
  ASSERT_EQ(renderer_->Device()->GetTransform(D3DTS_WORLD, &world), D3D_OK);
  const Matrix4 ours = EulerPlacement(degrees, translation);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(ours.m[i][j], world.m[i][j], 1e-5) << i << "," << j;
}

TEST_F(PreviewDrawing, EffectsOfThePackInTheirSlots) {
  if (!HasShaderModel3(*renderer_)) GTEST_SKIP() << "below shader model 3.0 nothing is loaded";
  ResourcePack pack;
  ASSERT_TRUE(OpenResourcePackFile(pack, u"" RAILWICK_BINARY_DIR "/data/zek5rlwck.res"));
  EffectSet effects(renderer_);
  ASSERT_EQ(effects.Load(pack, 320, 240), S_OK);
  EXPECT_EQ(effects.EffectCount(), 14);
  const auto expect_handles = [&effects] {
    for (const EffectEntry& entry : PreviewEffects()) {
      CDXShader* effect = effects.Effect(entry.slot);
      ASSERT_NE(effect, nullptr) << entry.slot;
      if (entry.technique != nullptr) {
        EXPECT_NE(effect->Technique(), nullptr) << entry.slot;
      }
      for (const NumberedParameter& p : entry.parameters) EXPECT_NE(effect->Parameter(p.number), nullptr);
    }
  };
  expect_handles();
  ASSERT_NE(effects.Named(3), nullptr);
  EXPECT_EQ(effects.Named(0)->width, 320u);
  EXPECT_EQ(effects.Named(1)->width, 160u);
  EXPECT_EQ(effects.Named(1)->colour->Texture()->Width(), 192.0f);  // rounded up to 64
  EXPECT_EQ(effects.RecreateTargets(640, 480), S_OK);
  EXPECT_EQ(effects.Named(0)->width, 640u);
  EXPECT_EQ(effects.Named(3)->height, 240u);
  // Through a device reset the effects come back with their handles.
  renderer_->ReleaseAllDeviceObjects();
  EXPECT_EQ(effects.Effect(PreviewEffects()[0].slot)->Effect(), nullptr);
  ASSERT_EQ(renderer_->ResetDevice(), D3D_OK);
  ASSERT_EQ(renderer_->RestoreAllDeviceObjects(), S_OK);
  expect_handles();
  CDXShader* first = effects.Effect(PreviewEffects()[0].slot);
  EXPECT_TRUE(FAILED(first->BindParameter(16, "x")));  // 16 handles, numbered from 0
  EXPECT_TRUE(FAILED(first->BindParameter(-1, "x")));
  EXPECT_TRUE(FAILED(first->SelectTechnique(std::string(100, 'x').c_str())));
  // An effect slot taken twice stops the loading.
  EXPECT_EQ(effects.Load(pack, 320, 240), E_FAIL);
  effects.Release();
  CloseResourcePack(pack);

  // A pack without the effects: loading them fails.
  ResourcePack empty;
  const std::u16string empty_path = ScratchFolder() + u"empty.res";
  const uint8_t magic_and_end[4] = {0x00, 0x20, 0x00, 0x00};  // magic, then the end of the table
  ASSERT_TRUE(FsWriteFileAtomic(empty_path, magic_and_end, 4));
  ASSERT_TRUE(OpenResourcePackFile(empty, empty_path));
  EffectSet none(renderer_);
  EXPECT_EQ(none.Load(empty, 320, 240), E_FAIL);
  none.Release();
  CloseResourcePack(empty);
}

TEST_F(PreviewDrawing, OverlayQueueIsBoundedAndEmptiedByDrawing) {
  TextOverlay overlay(renderer_);
  overlay.CreateFonts(kOverlayDefaultFace);
  for (int i = 0; i < kOverlayItems + 10; ++i) overlay.Queue(i % 4, 0, i, 0xFFFFFFFF, u"x");
  EXPECT_EQ(overlay.Queued(), kOverlayItems);
  TextOverlay one(renderer_);
  one.CreateFonts(kOverlayDefaultFace);
  one.Queue(2, 0, 0, 0xFFFFFFFF, std::u16string(200, u'8'));
  EXPECT_EQ(one.Item(0).length, 95u);
  EXPECT_EQ(one.Item(0).text[95], 0);
  IDirect3DDevice9* device = renderer_->Device();
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  device->BeginScene();
  one.Draw();
  device->EndScene();
  EXPECT_EQ(one.Queued(), 0);
  EXPECT_GT(ReadBackBuffer(*renderer_).CountNotBlack(), 50u);  // the eights were drawn
}

}  // namespace
