// A texture and what it was made from (file, file bytes in memory, or an
// empty size and format), so it can be made again after a device reset.
#pragma once
#include <d3d9.h>

#include <string>
#include <vector>

#include "render/d3d_object_win.h"
#include "render/image_utils_win.h"

class CDXTexture : public CD3DObject {
 public:
  explicit CDXTexture(CDXRenderer* renderer);
  ~CDXTexture() override;

  HRESULT ReleaseDeviceObjects() override;
  // From the file when one is stored, else from the bytes in memory, else an
  // empty texture of the stored size and format.
  HRESULT RestoreDeviceObjects() override;

  // Full mipmap chain in the default pool; a render target when asked.
  HRESULT CreateEmpty(UINT width, UINT height, D3DFORMAT format, BOOL render_target);
  // Image file bytes (BMP, PNG, ...): one level in the default pool.
  HRESULT CreateFromMemory(const void* data, size_t size, D3DCOLOR colour_key);
  // Through a BMP file built in memory; the size is the image's.
  HRESULT CreateFromImage24(const DibImage& image);

  IDirect3DTexture9* Texture() const { return texture_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  const D3DSURFACE_DESC& Description() const { return description_; }

 private:
  HRESULT CreateFromBmp(const std::vector<uint8_t>& bmp, int32_t width, int32_t height);
  HRESULT Create();
  void ReadDescription();

  IDirect3DTexture9* texture_ = nullptr;
  float width_ = 0.0f;
  float height_ = 0.0f;
  D3DSURFACE_DESC description_{};
  std::vector<uint8_t> source_;
  D3DCOLOR colour_key_ = 0;
  UINT image_width_ = 0, image_height_ = 0;  // set when made from an image
  // What CreateEmpty was asked for.
  UINT empty_width_ = 0, empty_height_ = 0;
  D3DFORMAT empty_format_ = D3DFMT_UNKNOWN;
  BOOL empty_render_target_ = FALSE;
};
