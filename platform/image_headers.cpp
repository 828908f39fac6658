#include "platform/image_headers.h"

#include "platform/byte_order.h"

namespace {

bool SideFits(int64_t side, uint32_t max_side) {
  return side >= 1 && side <= max_side;
}

// The image's sides from the IHDR chunk, which follows the 8-byte signature.
void ReadPngSides(const uint8_t* data, uint32_t& width, uint32_t& height) {
  width = BigEndian32(data + 16);
  height = BigEndian32(data + 20);
}

}  // namespace

bool ReadPngSize(const uint8_t* data, size_t size, PngHeader& header) {
  // Signature byte, "PNG", and IHDR through the colour type at byte 25.
  if (!data || size < 26 || data[0] != 0x89 || data[1] != 'P' || data[2] != 'N' || data[3] != 'G')
    return false;
  ReadPngSides(data, header.width, header.height);
  header.bit_depth = data[24];
  header.truecolour = data[25] == 2 || data[25] == 6;
  header.alpha = data[25] == 6;
  return true;
}

ImageHeader ReadPngImageHeader(const uint8_t* data, size_t size, uint32_t max_side) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  ImageHeader header;
  if (!data || size < 24) return header;
  for (int i = 0; i < 8; ++i)
    if (data[i] != kSignature[i]) return header;
  if (data[12] != 'I' || data[13] != 'H' || data[14] != 'D' || data[15] != 'R') return header;
  uint32_t width = 0, height = 0;
  ReadPngSides(data, width, height);
  header.width = width;
  header.height = height;
  bool fits = SideFits(header.width, max_side) && SideFits(header.height, max_side);
  header.status = fits ? ImageHeaderStatus::kOk : ImageHeaderStatus::kBadSize;
  return header;
}

ImageHeader ReadBmpImageHeader(const uint8_t* data, size_t size, uint32_t max_side) {
  ImageHeader header;
  // File header (14 bytes) and the 40-byte info header.
  if (!data || size < 54 || data[0] != 'B' || data[1] != 'M') return header;
  header.width = static_cast<int32_t>(LittleEndian32(data + 18));
  int64_t height = static_cast<int32_t>(LittleEndian32(data + 22));
  header.height = height < 0 ? -height : height;
  bool fits = SideFits(header.width, max_side) && SideFits(header.height, max_side);
  header.status = fits ? ImageHeaderStatus::kOk : ImageHeaderStatus::kBadSize;
  return header;
}

ImageHeader ReadTimImageHeader(const uint8_t* data, size_t size) {
  ImageHeader header;
  if (!data || size < 8) return header;
  uint32_t mode = LittleEndian32(data + 4) & 3;
  header.bits = mode == 1 ? 8 : mode == 3 ? 24 : 0;
  if (header.bits != 24) {
    header.status = ImageHeaderStatus::kTimBits;
    return header;
  }
  // A 24-bit image has no colour table: its image block follows the flags.
  constexpr size_t kBlock = 8;
  if (size < kBlock + 12) return header;
  header.x = LittleEndian16(data + kBlock + 4);
  header.y = LittleEndian16(data + kBlock + 6);
  header.width = LittleEndian16(data + kBlock + 8) * 2 / 3;  // 16-bit units to 24-bit pixels
  header.height = LittleEndian16(data + kBlock + 10);
  if (header.x % 2 != 0)
    header.status = ImageHeaderStatus::kTimOddX;
  else if (header.width % 2 != 0)
    header.status = ImageHeaderStatus::kTimOddWidth;
  else
    header.status = ImageHeaderStatus::kOk;
  return header;
}
