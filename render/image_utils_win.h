// GDI and GDI+ helpers that turn pixels into images and images into PNG
// files: a plain 24-bit buffer, a 24-bit DIB section, PNG encoding and
// decoding, and saving a Direct3D surface as PNG. GDI+ must be started by
// the caller (the program starts it once for the whole run).
#pragma once
#include <d3d9.h>
#include <gdiplus.h>
#include <objidl.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Plain memory, rows padded to a multiple of 4 bytes, every byte 0x02 when new.
struct ImageBuffer {
  std::vector<uint8_t> pixels;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t stride = 0;
  uint32_t bits = 24;
};
// 1 on success; 0 (and an empty buffer) for a size that is not positive or too large.
int CreateImageBuffer(ImageBuffer& image, int32_t width, int32_t height);

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
  Gdiplus::Status LastStatus() const { return last_status_; }
  void SetLastStatus(Gdiplus::Status status) { last_status_ = status; }

 private:
  Gdiplus::GpBitmap* bitmap_;
  IStream* stream_;
  Gdiplus::Status last_status_ = Gdiplus::Ok;
};

// Index of the first encoder whose MIME type equals `mime_type` exactly, its
// class id in `clsid`; -1 when no encoder has it.
int FindEncoderClsid(const wchar_t* mime_type, CLSID* clsid);
// Writes the image as a PNG file. A failure (no PNG encoder included) is also
// kept as the image's last status.
Gdiplus::Status SaveImageAsPng(GdipImage& image, const std::u16string& path);
// Decodes image file bytes (PNG, BMP, ...) held in memory; null on failure.
std::unique_ptr<GdipImage> LoadImageFromMemory(const void* data, size_t size);
// Decodes image bytes and draws the picture at its own size into a new
// 24-bit DIB image (so it carries no alpha). 1 on success, 0 on failure.
int DecodeImageToDib(const void* data, size_t size, DibImage& dib);

// Copies the surface into a 24-bit PNG file. Takes over the caller's
// reference to `surface` and releases it on every path.
HRESULT SaveSurfaceAsPng(IDirect3DSurface9* surface, const std::u16string& path);

// The GDI+ pixel format with the same layout as a Direct3D format, or 0.
Gdiplus::PixelFormat PixelFormatForD3DFormat(D3DFORMAT format);
