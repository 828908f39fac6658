#include "render/dx_font_win.h"

namespace {
// An all-zero description is one the owner never set.
bool IsDescribed(const D3DXFONT_DESCW& description) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&description);
  for (size_t i = 0; i < sizeof description; ++i)
    if (bytes[i] != 0) return true;
  return false;
}
}  // namespace

CDXFont::CDXFont(CDXRenderer* renderer) : CD3DObject(renderer) {}

CDXFont::~CDXFont() {
  SafeRelease(sprite_);
  SafeRelease(font_);
}

HRESULT CDXFont::ReleaseDeviceObjects() {
  if (font_ != nullptr) font_->OnLostDevice();
  if (sprite_ != nullptr) sprite_->OnLostDevice();
  SafeRelease(sprite_);
  SafeRelease(font_);
  return S_OK;
}

HRESULT CDXFont::RestoreDeviceObjects() {
  if (font_ != nullptr || !IsDescribed(description)) return S_OK;
  IDirect3DDevice9* device = Device();
  if (device == nullptr) return D3DERR_INVALIDCALL;
  HRESULT hr = D3DXCreateFontIndirectW(device, &description, &font_);
  if (FAILED(hr)) {
    font_ = nullptr;
    return hr;
  }
  hr = D3DXCreateSprite(device, &sprite_);
  if (FAILED(hr)) {
    sprite_ = nullptr;
    SafeRelease(font_);
  }
  return hr;
}

HRESULT CDXFont::Create(const D3DXFONT_DESCW& font_description) {
  SafeRelease(sprite_);
  SafeRelease(font_);
  description = font_description;
  if (!IsDescribed(description)) return D3DERR_INVALIDCALL;
  return RestoreDeviceObjects();
}
