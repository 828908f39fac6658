// The preview's HLSL effects and their render targets. They are made only
// on a device with shader model 3.0, from the resource pack, and made again
// after every device reset or resize.
#pragma once
#include <d3d9.h>

#include <memory>

#include "platform/resource_pack.h"
#include "preview/effect_table.h"
#include "render/dx_primitive_win.h"
#include "render/dx_shader_win.h"
#include "render/dx_target_win.h"

class CDXRenderer;

struct EffectTarget {
  int divisor = 1;
  uint32_t fixed_size = 0;         // 0: follows the client size
  uint32_t width = 0, height = 0;  // the area drawn into
  std::unique_ptr<CDXRenderTarget> colour;
  std::unique_ptr<CDXStencil> depth;
  std::unique_ptr<CDXPrimitive> quad;  // covers the target, for full-screen passes
};

class EffectSet {
 public:
  explicit EffectSet(CDXRenderer* renderer) : renderer_(renderer) {}

  // S_OK without loading anything below shader model 3.0 (vertex and pixel).
  // E_FAIL when an entry is missing from the pack, its slot is taken or the
  // effect cannot be made.
  HRESULT Load(ResourcePack& pack, int client_width, int client_height);
  // New targets of the same divisors for the new client size.
  HRESULT RecreateTargets(int client_width, int client_height);
  void Release();

  CDXShader* Effect(int slot) const;
  const EffectTarget* Target(int slot) const;
  int EffectCount() const;
  // The first four targets: full size, then three of half size.
  const EffectTarget* Named(int index) const { return index >= 0 && index < 4 ? named_[index] : nullptr; }

 private:
  HRESULT CreateTargetObjects(EffectTarget& target, int client_width, int client_height);
  HRESULT AddTarget(int divisor, int client_width, int client_height);
  HRESULT LoadEffect(ResourcePack& pack, const EffectEntry& entry);

  CDXRenderer* renderer_;
  std::unique_ptr<CDXShader> effects_[kEffectSlots];
  std::unique_ptr<EffectTarget> targets_[kRenderTargetSlots];
  EffectTarget* named_[4] = {};
};

// Both shader versions the renderer read are 3.0 or later.
bool HasShaderModel3(const CDXRenderer& renderer);
