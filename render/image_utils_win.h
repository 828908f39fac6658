// GDI and GDI+ helpers that turn image files into pixels: a 24-bit DIB
// section and the decoding of PNG (or any image GDI+ reads) into it. GDI+
// must be started by the caller (the program starts it once for the whole
// run).
#pragma once
#include <d3d9.h>
#include <gdiplus.h>
#include <objidl.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A top-down 24-bit DIB section, all zero when new.
struct DibImage {
  HBITMAP bitmap = nullptr;
  uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t stride = 0;
  uint32_t bits = 24;
};
int CreateDibImage(DibImage& image, int32_t width, int32_t height);
// Deletes the section when there is one and clears the record; safe to repeat.
void DeleteDibImage(DibImage& image);

// A GDI+ bitmap together with the stream it was decoded from, which GDI+
// reads from for as long as the bitmap lives.
class GdipImage {
 public:
  explicit GdipImage(Gdiplus::GpBitmap* bitmap, IStream* stream = nullptr)
      : bitmap_(bitmap), stream_(stream) {}
  ~GdipImage();
  GdipImage(const GdipImage&) = delete;
  GdipImage& operator=(const GdipImage&) = delete;

  Gdiplus::GpBitmap* Bitmap() const { return bitmap_; }
  UINT Width() const;
  UINT Height() const;

 private:
  Gdiplus::GpBitmap* bitmap_;
  IStream* stream_;
};

// Decodes image file bytes (PNG, BMP, ...) held in memory; null on failure.
std::unique_ptr<GdipImage> LoadImageFromMemory(const void* data, size_t size);
// Decodes image bytes and draws the picture at its own size into a new
// 24-bit DIB image (so it carries no alpha). 1 on success, 0 on failure.
int DecodeImageToDib(const void* data, size_t size, DibImage& dib);
