#include "render/dx_target_win.h"

CDXStencil::CDXStencil(CDXRenderer* renderer) : CD3DObject(renderer) {}

CDXStencil::~CDXStencil() {
  SafeRelease(surface_);
}

HRESULT CDXStencil::ReleaseDeviceObjects() {
  SafeRelease(surface_);
  return S_OK;
}

HRESULT CDXStencil::RestoreDeviceObjects() {
  if (surface_ != nullptr || width_ == 0) return S_OK;
  IDirect3DDevice9* device = Device();
  if (device == nullptr) return D3DERR_INVALIDCALL;
  HRESULT hr = device->CreateDepthStencilSurface(width_, height_, D3DFMT_D24S8, multisample_, quality_, TRUE,
                                                 &surface_, nullptr);
  if (FAILED(hr))
    hr = device->CreateDepthStencilSurface(width_, height_, D3DFMT_D16, multisample_, quality_, TRUE,
                                           &surface_, nullptr);
  if (FAILED(hr)) surface_ = nullptr;
  return hr;
}

HRESULT CDXStencil::Create(UINT width, UINT height, D3DMULTISAMPLE_TYPE multisample, DWORD quality) {
  if (width == 0 || height == 0) return D3DERR_INVALIDCALL;
  SafeRelease(surface_);
  width_ = width;
  height_ = height;
  multisample_ = multisample;
  quality_ = quality;
  return RestoreDeviceObjects();
}

CDXRenderTarget::CDXRenderTarget(CDXRenderer* renderer) : CD3DObject(renderer) {}

CDXRenderTarget::~CDXRenderTarget() {
  SafeRelease(multisample_surface_);
  delete texture_;
}

HRESULT CDXRenderTarget::ReleaseDeviceObjects() {
  SafeRelease(multisample_surface_);
  return S_OK;
}

HRESULT CDXRenderTarget::RestoreDeviceObjects() {
  if (multisample_ == D3DMULTISAMPLE_NONE || multisample_surface_ != nullptr || texture_ == nullptr)
    return S_OK;
  return CreateMultisampleSurface();
}

HRESULT CDXRenderTarget::CreateMultisampleSurface() {
  IDirect3DDevice9* device = Device();
  if (device == nullptr) return D3DERR_INVALIDCALL;
  const HRESULT hr =
      device->CreateRenderTarget(static_cast<UINT>(width_), static_cast<UINT>(height_), format_, multisample_,
                                 quality_, FALSE, &multisample_surface_, nullptr);
  if (FAILED(hr)) {
    multisample_surface_ = nullptr;
    return hr;
  }
  multisample_surface_->GetDesc(&description_);
  return hr;
}

HRESULT CDXRenderTarget::CreateTarget(UINT width, UINT height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multisample, DWORD quality) {
  SafeRelease(multisample_surface_);
  delete texture_;
  texture_ = nullptr;
  width_ = static_cast<float>(width);
  height_ = static_cast<float>(height);
  format_ = format;
  multisample_ = multisample;
  quality_ = quality;
  description_ = D3DSURFACE_DESC{};

  texture_ = new CDXTexture(Renderer());
  HRESULT hr = texture_->CreateEmpty(width, height, format, TRUE);
  if (FAILED(hr)) return hr;
  if (multisample_ != D3DMULTISAMPLE_NONE) return CreateMultisampleSurface();
  description_ = texture_->Description();
  return hr;
}

void CDXRenderTarget::ChooseMultisample(IDirect3DDevice9* device, int level, D3DFORMAT format,
                                        D3DMULTISAMPLE_TYPE* type, DWORD* quality) {
  *type = D3DMULTISAMPLE_NONE;
  *quality = 0;
  if (device == nullptr || level < 1 || level > 15) return;
  D3DDEVICE_CREATION_PARAMETERS creation{};
  IDirect3D9* d3d = nullptr;
  if (FAILED(device->GetCreationParameters(&creation)) || FAILED(device->GetDirect3D(&d3d))) return;
  const auto candidate = static_cast<D3DMULTISAMPLE_TYPE>(level + 1);
  if (SUCCEEDED(d3d->CheckDeviceMultiSampleType(creation.AdapterOrdinal, creation.DeviceType, format, TRUE,
                                                candidate, nullptr)) &&
      SUCCEEDED(d3d->CheckDeviceMultiSampleType(creation.AdapterOrdinal, creation.DeviceType, D3DFMT_D24S8,
                                                TRUE, candidate, nullptr)))
    *type = candidate;
  d3d->Release();
}

HRESULT CDXRenderTarget::GetDrawSurface(IDirect3DSurface9** surface) const {
  *surface = nullptr;
  if (multisample_surface_ != nullptr) {
    multisample_surface_->AddRef();
    *surface = multisample_surface_;
    return S_OK;
  }
  if (texture_ == nullptr || texture_->Texture() == nullptr) return D3DERR_INVALIDCALL;
  return texture_->Texture()->GetSurfaceLevel(0, surface);
}
