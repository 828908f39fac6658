// Size fields of the texture images a material names, read only from bytes
// that are present.
#pragma once
#include <cstddef>
#include <cstdint>

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

// Width and height of the IHDR chunk, 1 ... max_side each.
ImageHeader ReadPngImageHeader(const uint8_t* data, size_t size, uint32_t max_side);
// Width and height of the info header; a top-down image's negative height
// counts by its magnitude.
ImageHeader ReadBmpImageHeader(const uint8_t* data, size_t size, uint32_t max_side);
// Pixel mode, position and size of the image block. Only 24-bit images at an
// even x position and of an even pixel width are accepted.
ImageHeader ReadTimImageHeader(const uint8_t* data, size_t size);
