// An effect with its technique and the parameter handles the preview binds,
// kept by name so they can be looked up again after the effect is re-created.
#pragma once
#include <d3dx9effect.h>

#include <string>
#include <vector>

#include "render/d3d_object_win.h"

constexpr int kShaderNameBytes = 64;
constexpr int kShaderSlotNameBytes = 24;
constexpr int kShaderNumberedSlots = 16;

// The fixed parameter handles, by the names the effects use.
enum ShaderFixedParameter { kShaderMatL, kShaderMatWVP, kShaderMatWLP, kShaderMatWLPB, kShaderTexSrcColor };
constexpr int kShaderFixedCount = 5;

class CDXShader : public CD3DObject {
 public:
  explicit CDXShader(CDXRenderer* renderer);
  ~CDXShader() override;

  HRESULT ReleaseDeviceObjects() override;
  // Re-creates the effect from its memory copy and looks
  // the technique and every bound parameter up again.
  HRESULT RestoreDeviceObjects() override;

  HRESULT CreateFromMemory(const void* data, size_t size);

  HRESULT SelectTechnique(const char* name);
  HRESULT ApplyTechnique();
  // Slot 0-15; D3DERR_INVALIDCALL for another slot or an unknown name.
  HRESULT BindParameter(int slot, const char* name);
  HRESULT BindMatL() { return BindFixed(kShaderMatL); }
  HRESULT BindMatWVP() { return BindFixed(kShaderMatWVP); }
  HRESULT BindMatWLP() { return BindFixed(kShaderMatWLP); }
  HRESULT BindMatWLPB() { return BindFixed(kShaderMatWLPB); }
  HRESULT BindTexSrcColor() { return BindFixed(kShaderTexSrcColor); }

  ID3DXEffect* Effect() const { return effect_; }
  D3DXHANDLE Technique() const { return technique_; }
  D3DXHANDLE Fixed(ShaderFixedParameter which) const { return fixed_[which]; }
  D3DXHANDLE Parameter(int slot) const;

 private:
  HRESULT BindFixed(ShaderFixedParameter which);
  HRESULT CreateEffect();
  void LookUpHandles();

  ID3DXEffect* effect_ = nullptr;
  std::vector<uint8_t> source_;
  D3DXHANDLE technique_ = nullptr;
  char technique_name_[kShaderNameBytes] = {};
  D3DXHANDLE fixed_[kShaderFixedCount] = {};
  char fixed_names_[kShaderFixedCount][kShaderNameBytes] = {};
  D3DXHANDLE numbered_[kShaderNumberedSlots] = {};
  char numbered_names_[kShaderNumberedSlots][kShaderSlotNameBytes] = {};
};
