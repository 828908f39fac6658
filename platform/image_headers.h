// Size fields of PNG, BMP and TIM images, read only from bytes that are
// present.
#pragma once
#include <cstddef>
#include <cstdint>

// The IHDR fields of a PNG image.
struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bit_depth = 0;
  bool truecolour = false;  // colour type 2 or 6
  bool alpha = false;       // colour type 6
};
// Reads the IHDR fields of PNG data that starts with the byte 0x89 and "PNG"
// and reaches the colour type (26 bytes); the rest of the signature and the
// chunk name are not looked at. False, with `header` untouched, otherwise.
bool ReadPngSize(const uint8_t* data, size_t size, PngHeader& header);

enum class ImageHeaderStatus {
  kOk,
  kNotRecognised,  // no PNG signature and IHDR, no "BM" header, or a TIM too short
  kBadSize,        // width or height 0, negative or beyond the largest texture
  kTimBits,        // a TIM that is not 24 bits per pixel
  kTimOddX,        // a 24-bit TIM at an odd x position
  kTimOddWidth,    // a 24-bit TIM of an odd pixel width
};

struct ImageHeader {
  ImageHeaderStatus status = ImageHeaderStatus::kNotRecognised;
  int64_t width = 0;  // in pixels (PNG, BMP, TIM)
  int64_t height = 0;
  int32_t x = 0;  // TIM only: position in the frame buffer
  int32_t y = 0;
  int32_t bits = 0;  // TIM only: 8, 24 or 0
};

// Width and height of the IHDR chunk, 1 ... max_side each; the whole
// signature and the chunk name must be there (24 bytes).
ImageHeader ReadPngImageHeader(const uint8_t* data, size_t size, uint32_t max_side);
// Width and height of the info header; a top-down image's negative height
// counts by its magnitude.
ImageHeader ReadBmpImageHeader(const uint8_t* data, size_t size, uint32_t max_side);
// Pixel mode, position and size of the image block. Only 24-bit images at an
// even x position and of an even pixel width are accepted.
ImageHeader ReadTimImageHeader(const uint8_t* data, size_t size);
