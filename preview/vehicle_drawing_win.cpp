#include "preview/vehicle_drawing_win.h"

#include <d3dx9math.h>

#include <cstring>

#include "preview/scene_clock.h"
#include "render/preview_factory_win.h"
#include "render/renderer_win.h"

namespace {

static_assert(sizeof(Matrix4) == sizeof(D3DMATRIX), "the placements are laid out as Direct3D's matrices");

void SetWorld(IDirect3DDevice9* device, const Matrix4& world) {
  D3DMATRIX matrix;
  std::memcpy(&matrix, &world, sizeof(matrix));
  device->SetTransform(D3DTS_WORLD, &matrix);
}

void BindTexture(IDirect3DDevice9* device, const TextureSlot& slot) {
  CDXTexture* texture = TextureOf(slot.get());
  if (texture != nullptr && texture->Texture() != nullptr) device->SetTexture(0, texture->Texture());
}

void SetFrameStates(IDirect3DDevice9* device) {
  device->LightEnable(0, TRUE);
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  device->SetTexture(1, nullptr);
}

void DrawGuideLines(IDirect3DDevice9* device, const PreviewState& state, const PreviewView& view) {
  CIMLine3D* lines = LinesOf(state.guide_lines.get());
  if (lines == nullptr) return;
  lines->Clear();
  SetWorld(device, VehiclePlacement(view));
  for (const GuideLine& line : VehicleGuideLines(state)) {
    lines->AddLine(D3DXVECTOR3(line.from[0], line.from[1], line.from[2]),
                   D3DXVECTOR3(line.to[0], line.to[1], line.to[2]));
  }
  lines->Draw();
}

}  // namespace

void PlayDrawList(CDXRenderer& renderer, const std::vector<DrawOp>& ops, const PreviewState& state,
                  const D3DLIGHT9& light) {
  IDirect3DDevice9* device = renderer.Device();
  for (const DrawOp& op : ops) {
    switch (op.step) {
      case DrawStep::kSetLight:
        device->SetLight(0, &light);
        break;
      case DrawStep::kBindMainTexture:
        BindTexture(device, state.main_texture);
        break;
      case DrawStep::kBindSignTexture:
        BindTexture(device, state.sign_texture);
        break;
      case DrawStep::kBindContainerTexture:
        BindTexture(device, state.container_texture);
        break;
      case DrawStep::kSpecular:
        device->SetRenderState(D3DRS_SPECULARENABLE, op.value ? TRUE : FALSE);
        break;
      case DrawStep::kDepthWrite:
        device->SetRenderState(D3DRS_ZWRITEENABLE, op.value ? TRUE : FALSE);
        break;
      case DrawStep::kBlendMode:
        renderer.SetBlendMode(static_cast<BlendMode>(op.value));
        break;
      case DrawStep::kSetWorld:
        SetWorld(device, op.world);
        break;
      case DrawStep::kSphereMap:
        if (CDXPrimitive* mesh = PrimitiveOf(op.mesh)) mesh->SphereMapTexCoords();
        break;
      case DrawStep::kDraw:
        if (CDXPrimitive* mesh = PrimitiveOf(op.mesh)) mesh->Draw(D3DPT_TRIANGLELIST);
        break;
    }
  }
}

void DrawCompiledVehicle(CDXRenderer& renderer, const VehicleCompiler& compiler, PreviewView& view,
                         const D3DLIGHT9& light, uint32_t scene_clock, std::vector<DrawOp>& ops) {
  IDirect3DDevice9* device = renderer.Device();
  const PreviewState& state = compiler.preview;
  SetFrameStates(device);
  view.animation_clock = AnimationClock(scene_clock);

  BuildVehicleDrawList(state, view, ops);
  PlayDrawList(renderer, ops, state, light);

  if (compiler.container_part) {
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    ops.clear();
    AppendContainerModel(state, view, ops);
    PlayDrawList(renderer, ops, state, light);
  }

  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
  device->SetTexture(0, nullptr);
  renderer.SetBlendMode(BlendMode::kAdditive);
  DrawGuideLines(device, state, view);
}
