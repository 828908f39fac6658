#include "render/image_layout.h"

#include <cstring>

namespace {

void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool ComputeImageGeometry(int32_t width, int32_t height, uint32_t bits, ImageGeometry& geometry) {
  if (width <= 0 || height <= 0) return false;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const uint64_t row_bytes = static_cast<uint64_t>(width) * (bits / 8);
  const uint64_t stride = (row_bytes + 3) & ~uint64_t{3};
  const uint64_t bytes = stride * static_cast<uint64_t>(height);
  if (bytes > kMaxImageBytes) return false;
  geometry.stride = static_cast<uint32_t>(stride);
  geometry.bytes = static_cast<size_t>(bytes);
  return true;
}

bool BuildBmpFile(const uint8_t* rows, int32_t width, int32_t height, uint32_t stride, uint32_t bits,
                  const uint8_t* palette, bool top_down_rows, std::vector<uint8_t>& out) {
  ImageGeometry geometry;
  if (rows == nullptr || !ComputeImageGeometry(width, height, bits, geometry) || stride != geometry.stride)
    return false;
  const uint32_t palette_bytes = bits == 8 ? 256 * 4 : 0;
  const uint32_t pixel_offset = 14 + 40 + palette_bytes;
  out.assign(pixel_offset + geometry.bytes, 0);
  uint8_t* p = out.data();

  p[0] = 0x42;  // "BM"
  p[1] = 0x4D;
  PutU32(p + 2, static_cast<uint32_t>(out.size()));
  PutU32(p + 10, pixel_offset);

  uint8_t* info = p + 14;
  PutU32(info + 0, 40);
  PutU32(info + 4, static_cast<uint32_t>(width));
  PutU32(info + 8, static_cast<uint32_t>(height));
  PutU16(info + 12, 1);
  PutU16(info + 14, static_cast<uint16_t>(bits));
  PutU32(info + 20, static_cast<uint32_t>(geometry.bytes));
  if (palette_bytes != 0 && palette != nullptr) std::memcpy(info + 40, palette, palette_bytes);

  uint8_t* pixels = p + pixel_offset;
  if (!top_down_rows) {
    std::memcpy(pixels, rows, geometry.bytes);
  } else {
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(pixels + static_cast<size_t>(height - 1 - y) * stride,
                  rows + static_cast<size_t>(y) * stride, stride);
  }
  return true;
}
