#include <d3dx9tex.h>

#include "render/d3d_object_win.h"
#include "render/image_utils_win.h"

using namespace Gdiplus::DllExports;

Gdiplus::PixelFormat PixelFormatForD3DFormat(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R8G8B8:
      return PixelFormat24bppRGB;
    case D3DFMT_A8R8G8B8:
      return PixelFormat32bppARGB;
    case D3DFMT_X8R8G8B8:
      return PixelFormat32bppRGB;
    case D3DFMT_R5G6B5:
      return PixelFormat16bppRGB565;
    case D3DFMT_X1R5G5B5:
      return PixelFormat16bppRGB555;
    case D3DFMT_A1R5G5B5:
      return PixelFormat16bppARGB1555;
    case D3DFMT_A16B16G16R16:
      return PixelFormat64bppARGB;
    case D3DFMT_P8:
      return PixelFormat8bppIndexed;
    case D3DFMT_L16:
      return PixelFormat16bppGrayScale;
    default:
      return 0;
  }
}

namespace {

// Draws locked 32-bit ARGB pixels onto a new 24-bit bitmap.
Gdiplus::Status DrawOnto24Bit(const D3DLOCKED_RECT& locked, INT width, INT height,
                              Gdiplus::GpBitmap** result) {
  *result = nullptr;
  Gdiplus::GpBitmap* target = nullptr;
  Gdiplus::GpBitmap* wrapper = nullptr;
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::Status status = GdipCreateBitmapFromScan0(width, height, 0, PixelFormat24bppRGB, nullptr, &target);
  if (status == Gdiplus::Ok)
    status = GdipCreateBitmapFromScan0(width, height, locked.Pitch, PixelFormat32bppARGB,
                                       static_cast<BYTE*>(locked.pBits), &wrapper);
  if (status == Gdiplus::Ok) status = GdipGetImageGraphicsContext(target, &graphics);
  if (status == Gdiplus::Ok) {
    const Gdiplus::Point corners[3] = {{0, 0}, {width, 0}, {0, height}};
    status = GdipDrawImagePointsI(graphics, wrapper, corners, 3);
    GdipFlush(graphics, Gdiplus::FlushIntentionFlush);
  }
  if (graphics != nullptr) GdipDeleteGraphics(graphics);
  if (wrapper != nullptr) GdipDisposeImage(wrapper);
  if (status != Gdiplus::Ok) {
    if (target != nullptr) GdipDisposeImage(target);
    return status;
  }
  *result = target;
  return status;
}

}  // namespace

HRESULT SaveSurfaceAsPng(IDirect3DSurface9* surface, const std::u16string& path) {
  if (surface == nullptr) return E_POINTER;
  D3DSURFACE_DESC desc{};
  IDirect3DDevice9* device = nullptr;
  HRESULT hr = surface->GetDesc(&desc);
  if (SUCCEEDED(hr)) hr = surface->GetDevice(&device);

  // A 32-bit scratch copy in a layout GDI+ reads whatever the source format.
  IDirect3DSurface9* scratch = nullptr;
  if (SUCCEEDED(hr))
    hr = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH,
                                             &scratch, nullptr);
  if (SUCCEEDED(hr))
    hr = D3DXLoadSurfaceFromSurface(scratch, nullptr, nullptr, surface, nullptr, nullptr, D3DX_DEFAULT, 0);
  SafeRelease(device);
  SafeRelease(surface);  // the caller's reference, taken over
  if (FAILED(hr)) {
    SafeRelease(scratch);
    return hr;
  }

  D3DLOCKED_RECT locked{};
  hr = scratch->LockRect(&locked, nullptr, D3DLOCK_READONLY);
  if (FAILED(hr)) {
    SafeRelease(scratch);
    return hr;
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  const Gdiplus::Status drawn =
      DrawOnto24Bit(locked, static_cast<INT>(desc.Width), static_cast<INT>(desc.Height), &bitmap);
  scratch->UnlockRect();
  SafeRelease(scratch);
  if (drawn != Gdiplus::Ok) return E_FAIL;

  GdipImage image(bitmap);
  return SaveImageAsPng(image, path) == Gdiplus::Ok ? S_OK : E_FAIL;
}
