#include "preview/effect_set_win.h"

#include "render/im_batch_win.h"
#include "render/renderer_win.h"

namespace {

constexpr DWORD kShaderModel3 = 0x0300;

// Two triangles over the target's area, in pixels, with texture coordinates.
HRESULT FillQuad(CDXPrimitive& quad, uint32_t width, uint32_t height) {
  const DWORD format = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
  HRESULT hr = quad.CreateBuffers(format, 4, 0, FALSE);
  if (FAILED(hr)) return hr;
  const float w = static_cast<float>(width) - 0.5f, h = static_cast<float>(height) - 0.5f;
  const ScreenVertex corners[4] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                                   {w, -0.5f, 0, 1, 0xFFFFFFFF, 0, 1, 0},
                                   {-0.5f, h, 0, 1, 0xFFFFFFFF, 0, 0, 1},
                                   {w, h, 0, 1, 0xFFFFFFFF, 0, 1, 1}};
  return quad.WriteVertices(corners, 4);
}

}  // namespace

bool HasShaderModel3(const CDXRenderer& renderer) {
  return renderer.VertexShaderVersion() >= kShaderModel3 && renderer.PixelShaderVersion() >= kShaderModel3;
}

HRESULT EffectSet::CreateTargetObjects(EffectTarget& target, int client_width, int client_height) {
  D3DFORMAT format = D3DFMT_A8R8G8B8;
  uint32_t texture_width, texture_height;
  if (target.fixed_size != 0) {
    format = D3DFMT_R32F;
    target.width = target.height = texture_width = texture_height = target.fixed_size;
  } else {
    const uint32_t divisor = static_cast<uint32_t>(target.divisor);
    target.width = static_cast<uint32_t>(client_width > 0 ? client_width : 0) / divisor;
    target.height = static_cast<uint32_t>(client_height > 0 ? client_height : 0) / divisor;
    texture_width =
        EffectTargetTextureSize(static_cast<uint32_t>(client_width > 0 ? client_width : 0), divisor);
    texture_height =
        EffectTargetTextureSize(static_cast<uint32_t>(client_height > 0 ? client_height : 0), divisor);
    // A minimised window has no client area; a target is never empty.
    if (texture_width == 0) texture_width = 64;
    if (texture_height == 0) texture_height = 64;
  }
  target.colour = std::make_unique<CDXRenderTarget>(renderer_);
  target.depth = std::make_unique<CDXStencil>(renderer_);
  target.quad = std::make_unique<CDXPrimitive>(renderer_);
  HRESULT hr = target.colour->CreateTarget(texture_width, texture_height, format, D3DMULTISAMPLE_NONE, 0);
  if (SUCCEEDED(hr)) hr = target.depth->Create(texture_width, texture_height, D3DMULTISAMPLE_NONE, 0);
  if (SUCCEEDED(hr)) hr = FillQuad(*target.quad, target.width, target.height);
  return hr;
}

HRESULT EffectSet::AddTarget(int divisor, int client_width, int client_height) {
  for (int slot = 0; slot < kRenderTargetSlots; ++slot) {
    if (targets_[slot]) continue;
    targets_[slot] = std::make_unique<EffectTarget>();
    targets_[slot]->divisor = divisor;
    for (EffectTarget*& named : named_) {
      if (named == nullptr) {
        named = targets_[slot].get();
        break;
      }
    }
    return CreateTargetObjects(*targets_[slot], client_width, client_height);
  }
  return E_FAIL;
}

HRESULT EffectSet::LoadEffect(ResourcePack& pack, const EffectEntry& entry) {
  if (entry.slot < 0 || entry.slot >= kEffectSlots || effects_[entry.slot]) return E_FAIL;
  uint32_t size = 0;
  const uint8_t* data = FindResourceEntry(pack, entry.entry, &size);
  if (data == nullptr) return E_FAIL;
  auto effect = std::make_unique<CDXShader>(renderer_);
  const HRESULT hr = effect->CreateFromMemory(data, size);
  ReleaseResourceEntry(pack, entry.entry);  // the effect keeps its own copy
  if (FAILED(hr)) return E_FAIL;
  // A name the effect lacks leaves its handle empty; drawing copes.
  if (entry.matrices & kBindMatL) effect->BindMatL();
  if (entry.matrices & kBindMatWVP) effect->BindMatWVP();
  if (entry.matrices & kBindMatWLP) effect->BindMatWLP();
  if (entry.matrices & kBindMatWLPB) effect->BindMatWLPB();
  for (const NumberedParameter& p : entry.parameters) effect->BindParameter(p.number, p.name);
  if (entry.source_texture) effect->BindTexSrcColor();
  if (entry.technique != nullptr) {
    effect->SelectTechnique(entry.technique);
    effect->ApplyTechnique();
  }
  effects_[entry.slot] = std::move(effect);
  return S_OK;
}

HRESULT EffectSet::Load(ResourcePack& pack, int client_width, int client_height) {
  if (!HasShaderModel3(*renderer_)) return S_OK;
  for (int divisor : kEffectTargetDivisors) {
    if (FAILED(AddTarget(divisor, client_width, client_height))) return E_FAIL;
  }
  for (const EffectEntry& entry : PreviewEffects()) {
    if (FAILED(LoadEffect(pack, entry))) return E_FAIL;
  }
  return S_OK;
}

HRESULT EffectSet::RecreateTargets(int client_width, int client_height) {
  HRESULT result = S_OK;
  for (auto& target : targets_) {
    if (!target) continue;
    target->quad.reset();
    target->depth.reset();
    target->colour.reset();
    const HRESULT hr = CreateTargetObjects(*target, client_width, client_height);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

void EffectSet::Release() {
  for (auto& effect : effects_) effect.reset();
  for (auto& target : targets_) target.reset();
  for (EffectTarget*& named : named_) named = nullptr;
}

CDXShader* EffectSet::Effect(int slot) const {
  return slot >= 0 && slot < kEffectSlots ? effects_[slot].get() : nullptr;
}

const EffectTarget* EffectSet::Target(int slot) const {
  return slot >= 0 && slot < kRenderTargetSlots ? targets_[slot].get() : nullptr;
}

int EffectSet::EffectCount() const {
  int count = 0;
  for (const auto& effect : effects_) count += effect ? 1 : 0;
  return count;
}
