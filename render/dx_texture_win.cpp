#include "render/dx_texture_win.h"

#include <d3dx9tex.h>

#include <climits>

#include "render/image_layout.h"

namespace {
// Opaque black: the key the image-made textures are created with.
constexpr D3DCOLOR kImageColourKey = 0xFF000000;
}  // namespace

CDXTexture::CDXTexture(CDXRenderer* renderer) : CD3DObject(renderer) {}

CDXTexture::~CDXTexture() {
  SafeRelease(texture_);
}

HRESULT CDXTexture::ReleaseDeviceObjects() {
  SafeRelease(texture_);
  return S_OK;
}

HRESULT CDXTexture::RestoreDeviceObjects() {
  if (texture_ != nullptr) return S_OK;
  if (source_.empty() && empty_width_ == 0) return S_OK;  // never created
  return Create();
}

void CDXTexture::ReadDescription() {
  description_ = D3DSURFACE_DESC{};
  if (texture_ != nullptr) texture_->GetLevelDesc(0, &description_);
  // A texture made from an image keeps the image's size.
  width_ = static_cast<float>(image_width_ != 0 ? image_width_ : description_.Width);
  height_ = static_cast<float>(image_height_ != 0 ? image_height_ : description_.Height);
}

// Makes the texture from whatever is stored, in the order a restore uses.
HRESULT CDXTexture::Create() {
  IDirect3DDevice9* device = Device();
  if (device == nullptr) return D3DERR_INVALIDCALL;
  SafeRelease(texture_);
  HRESULT hr;
  if (!source_.empty()) {
    hr = D3DXCreateTextureFromFileInMemoryEx(device, source_.data(), static_cast<UINT>(source_.size()),
                                             D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN,
                                             D3DPOOL_DEFAULT, D3DX_FILTER_NONE, D3DX_DEFAULT, colour_key_,
                                             nullptr, nullptr, &texture_);
  } else {
    hr = D3DXCreateTexture(device, empty_width_, empty_height_, D3DX_DEFAULT,
                           empty_render_target_ ? D3DUSAGE_RENDERTARGET : 0, empty_format_, D3DPOOL_DEFAULT,
                           &texture_);
  }
  if (FAILED(hr)) texture_ = nullptr;
  ReadDescription();
  return hr;
}

HRESULT CDXTexture::CreateEmpty(UINT width, UINT height, D3DFORMAT format, BOOL render_target) {
  if (width == 0 || height == 0) return D3DERR_INVALIDCALL;
  source_.clear();
  image_width_ = image_height_ = 0;
  empty_width_ = width;
  empty_height_ = height;
  empty_format_ = format;
  empty_render_target_ = render_target;
  return Create();
}

HRESULT CDXTexture::CreateFromMemory(const void* data, size_t size, D3DCOLOR colour_key) {
  if (data == nullptr || size == 0 || size > UINT_MAX) return D3DERR_INVALIDCALL;
  image_width_ = image_height_ = 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  source_.assign(bytes, bytes + size);
  colour_key_ = colour_key;
  return Create();
}

HRESULT CDXTexture::CreateFromBmp(const std::vector<uint8_t>& bmp, int32_t width, int32_t height) {
  const HRESULT hr = CreateFromMemory(bmp.data(), bmp.size(), kImageColourKey);
  image_width_ = static_cast<UINT>(width);
  image_height_ = static_cast<UINT>(height);
  ReadDescription();
  return hr;
}

HRESULT CDXTexture::CreateFromImage24(const DibImage& image) {
  std::vector<uint8_t> bmp;
  // The section runs top-down; written bottom-up the texture's first row is
  // the picture's top row, as with the PNG the simulator loads.
  if (image.pixels == nullptr ||
      !BuildBmpFile(image.pixels, image.width, image.height, image.stride, image.bits, nullptr, true, bmp))
    return D3DERR_INVALIDCALL;
  return CreateFromBmp(bmp, image.width, image.height);
}
