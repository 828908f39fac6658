// Depth-stencil surfaces and render targets (a render-target texture with an
// optional multisampled surface to draw into).
#pragma once
#include <d3d9.h>

#include "render/d3d_object_win.h"
#include "render/dx_texture_win.h"

class CDXStencil : public CD3DObject {
 public:
  explicit CDXStencil(CDXRenderer* renderer);
  ~CDXStencil() override;

  HRESULT ReleaseDeviceObjects() override;
  // 24-bit depth with stencil, else 16-bit depth.
  HRESULT RestoreDeviceObjects() override;

  HRESULT Create(UINT width, UINT height, D3DMULTISAMPLE_TYPE multisample, DWORD quality);
  IDirect3DSurface9* Surface() const { return surface_; }

 private:
  IDirect3DSurface9* surface_ = nullptr;
  UINT width_ = 0, height_ = 0;
  D3DMULTISAMPLE_TYPE multisample_ = D3DMULTISAMPLE_NONE;
  DWORD quality_ = 0;
};

class CDXRenderTarget : public CD3DObject {
 public:
  explicit CDXRenderTarget(CDXRenderer* renderer);
  ~CDXRenderTarget() override;

  // The multisampled surface. The texture is an object of the renderer's
  // list like any other, so the list releases and restores it, once.
  HRESULT ReleaseDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;

  HRESULT CreateTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multisample,
                       DWORD quality);
  // Multisampling for `level` 1-15 (type level + 1), taken only when both
  // the surface format and the depth-stencil format can have it; otherwise
  // none (type 0, quality 0).
  static void ChooseMultisample(IDirect3DDevice9* device, int level, D3DFORMAT format,
                                D3DMULTISAMPLE_TYPE* type, DWORD* quality);

  CDXTexture* Texture() const { return texture_; }
  // The surface to draw into: the multisampled one when there is one, else
  // the texture's first level. The caller releases it.
  HRESULT GetDrawSurface(IDirect3DSurface9** surface) const;
  IDirect3DSurface9* MultisampleSurface() const { return multisample_surface_; }
  const D3DSURFACE_DESC& Description() const { return description_; }
  float Width() const { return width_; }
  float Height() const { return height_; }

 private:
  HRESULT CreateMultisampleSurface();

  float width_ = 0.0f, height_ = 0.0f;
  IDirect3DSurface9* multisample_surface_ = nullptr;
  CDXTexture* texture_ = nullptr;  // owned
  D3DSURFACE_DESC description_{};
  D3DFORMAT format_ = D3DFMT_UNKNOWN;
  D3DMULTISAMPLE_TYPE multisample_ = D3DMULTISAMPLE_NONE;
  DWORD quality_ = 0;
};
