#include "render/dx_shader_win.h"

#include <windows.h>

#include <climits>
#include <cstring>

namespace {

const char* const kFixedNames[kShaderFixedCount] = {"matL", "matWVP", "matWLP", "matWLPB", "TexSrcColor"};

// Copies a name into a fixed field, cut to fit and always terminated.
void StoreName(char* field, size_t capacity, const char* name) {
  const size_t length = strnlen(name, capacity - 1);
  std::memcpy(field, name, length);
  std::memset(field + length, 0, capacity - length);
}

// Effect creation reports through its message buffer when it has one; when
// it has none the failure is shown, since nothing else would tell why.
HRESULT ReportEffectFailure(HRESULT hr, ID3DXBuffer* errors) {
  if (errors != nullptr)
    errors->Release();
  else
    MessageBoxW(nullptr, L"Out Of Memory.", L"ERROR", MB_OK);
  return hr;
}

}  // namespace

CDXShader::CDXShader(CDXRenderer* renderer) : CD3DObject(renderer) {}

CDXShader::~CDXShader() {
  SafeRelease(effect_);
}

HRESULT CDXShader::ReleaseDeviceObjects() {
  SafeRelease(effect_);
  technique_ = nullptr;
  std::memset(fixed_, 0, sizeof fixed_);
  std::memset(numbered_, 0, sizeof numbered_);
  return S_OK;
}

HRESULT CDXShader::RestoreDeviceObjects() {
  if (effect_ != nullptr || source_.empty()) return S_OK;
  const HRESULT hr = CreateEffect();
  if (SUCCEEDED(hr)) LookUpHandles();
  return hr;
}

HRESULT CDXShader::CreateEffect() {
  IDirect3DDevice9* device = Device();
  if (device == nullptr) return D3DERR_INVALIDCALL;
  SafeRelease(effect_);
  ID3DXBuffer* errors = nullptr;
  const HRESULT hr = D3DXCreateEffect(device, source_.data(), static_cast<UINT>(source_.size()), nullptr, nullptr,
                                      0, nullptr, &effect_, &errors);
  if (FAILED(hr)) {
    effect_ = nullptr;
    return ReportEffectFailure(hr, errors);
  }
  SafeRelease(errors);
  return hr;
}

HRESULT CDXShader::CreateFromMemory(const void* data, size_t size) {
  if (data == nullptr || size == 0 || size > UINT_MAX) return D3DERR_INVALIDCALL;
  // The copy is what a restore re-creates the effect from.
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  source_.assign(bytes, bytes + size);
  return CreateEffect();
}

HRESULT CDXShader::SelectTechnique(const char* name) {
  StoreName(technique_name_, sizeof technique_name_, name);
  technique_ = effect_ != nullptr ? effect_->GetTechniqueByName(technique_name_) : nullptr;
  return technique_ != nullptr ? S_OK : D3DERR_INVALIDCALL;
}

HRESULT CDXShader::ApplyTechnique() {
  if (effect_ == nullptr || technique_ == nullptr) return D3DERR_INVALIDCALL;
  return effect_->SetTechnique(technique_);
}

HRESULT CDXShader::BindParameter(int slot, const char* name) {
  if (slot < 0 || slot >= kShaderNumberedSlots) return D3DERR_INVALIDCALL;
  StoreName(numbered_names_[slot], kShaderSlotNameBytes, name);
  numbered_[slot] =
      effect_ != nullptr ? effect_->GetParameterByName(nullptr, numbered_names_[slot]) : nullptr;
  return numbered_[slot] != nullptr ? S_OK : D3DERR_INVALIDCALL;
}

HRESULT CDXShader::BindFixed(ShaderFixedParameter which) {
  StoreName(fixed_names_[which], kShaderNameBytes, kFixedNames[which]);
  fixed_[which] = effect_ != nullptr ? effect_->GetParameterByName(nullptr, fixed_names_[which]) : nullptr;
  return fixed_[which] != nullptr ? S_OK : D3DERR_INVALIDCALL;
}

D3DXHANDLE CDXShader::Parameter(int slot) const {
  return slot >= 0 && slot < kShaderNumberedSlots ? numbered_[slot] : nullptr;
}

void CDXShader::LookUpHandles() {
  technique_ = technique_name_[0] != 0 ? effect_->GetTechniqueByName(technique_name_) : nullptr;
  for (int i = 0; i < kShaderFixedCount; ++i)
    fixed_[i] = fixed_names_[i][0] != 0 ? effect_->GetParameterByName(nullptr, fixed_names_[i]) : nullptr;
  for (int i = 0; i < kShaderNumberedSlots; ++i)
    numbered_[i] =
        numbered_names_[i][0] != 0 ? effect_->GetParameterByName(nullptr, numbered_names_[i]) : nullptr;
}
