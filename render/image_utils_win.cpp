#include "render/image_utils_win.h"

#include <cstring>

#include "render/image_layout.h"

using namespace Gdiplus::DllExports;

int CreateDibImage(DibImage& image, int32_t width, int32_t height) {
  DeleteDibImage(image);
  ImageGeometry geometry;
  if (!ComputeImageGeometry(width, height, 24, geometry)) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDC(desktop);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(desktop, dc);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return 0;
  }
  image.bitmap = bitmap;
  image.pixels = static_cast<uint8_t*>(bits);
  image.width = width;
  image.height = height;
  image.stride = geometry.stride;
  std::memset(image.pixels, 0, geometry.bytes);
  return 1;
}

void DeleteDibImage(DibImage& image) {
  if (image.bitmap != nullptr) DeleteObject(image.bitmap);
  image = DibImage{};
}

GdipImage::~GdipImage() {
  if (bitmap_ != nullptr) GdipDisposeImage(bitmap_);
  if (stream_ != nullptr) stream_->Release();
}

UINT GdipImage::Width() const {
  UINT width = 0;
  if (bitmap_ != nullptr) GdipGetImageWidth(bitmap_, &width);
  return width;
}

UINT GdipImage::Height() const {
  UINT height = 0;
  if (bitmap_ != nullptr) GdipGetImageHeight(bitmap_, &height);
  return height;
}

std::unique_ptr<GdipImage> LoadImageFromMemory(const void* data, size_t size) {
  if (data == nullptr || size == 0) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return nullptr;
  void* target = GlobalLock(block);
  if (target == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {  // the stream frees the block
    GlobalFree(block);
    return nullptr;
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromStream(stream, &bitmap) != Gdiplus::Ok || bitmap == nullptr) {
    stream->Release();
    return nullptr;
  }
  return std::make_unique<GdipImage>(bitmap, stream);
}

int DecodeImageToDib(const void* data, size_t size, DibImage& dib) {
  std::unique_ptr<GdipImage> image = LoadImageFromMemory(data, size);
  if (!image) return 0;
  const UINT width = image->Width(), height = image->Height();
  if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return 0;
  if (!CreateDibImage(dib, static_cast<int32_t>(width), static_cast<int32_t>(height))) return 0;

  // Draw through a GDI+ bitmap that uses the section's pixels as its own.
  Gdiplus::GpBitmap* canvas = nullptr;
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::Status status = GdipCreateBitmapFromScan0(dib.width, dib.height, static_cast<INT>(dib.stride),
                                                     PixelFormat24bppRGB, dib.pixels, &canvas);
  if (status == Gdiplus::Ok) status = GdipGetImageGraphicsContext(canvas, &graphics);
  if (status == Gdiplus::Ok)
    status = GdipDrawImageRectI(graphics, image->Bitmap(), 0, 0, dib.width, dib.height);
  if (graphics != nullptr) {
    GdipFlush(graphics, Gdiplus::FlushIntentionFlush);
    GdipDeleteGraphics(graphics);
  }
  if (canvas != nullptr) GdipDisposeImage(canvas);
  if (status != Gdiplus::Ok) {
    DeleteDibImage(dib);
    return 0;
  }
  return 1;
}
