// Sizes of uncompressed images and BMP files built in memory: the arithmetic
// that the GDI image helpers and the texture wrapper share, free of Windows
// headers so it is tested on both builds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Largest pixel block the program makes for one image.
constexpr size_t kMaxImageBytes = size_t{1} << 30;

struct ImageGeometry {
  uint32_t stride = 0;  // bytes per row, a multiple of 4
  size_t bytes = 0;     // stride x height
};

// Rows of `bits` per pixel padded to a multiple of 4 bytes. False when a side
// is not positive, `bits` is not 8, 16, 24 or 32, or the block would exceed
// kMaxImageBytes.
bool ComputeImageGeometry(int32_t width, int32_t height, uint32_t bits, ImageGeometry& geometry);

// A BMP file (14-byte file header, 40-byte info header with the positive
// height, a 256-entry palette for 8-bit images) around `rows`. BMP rows run
// bottom-up: with `top_down_rows` the rows are written in reverse so the
// picture keeps its orientation; otherwise they go in as they are. `palette`
// (256 x 4 bytes) is used only for 8 bits; without one the entries are zero.
// False when the geometry is invalid.
bool BuildBmpFile(const uint8_t* rows, int32_t width, int32_t height, uint32_t stride, uint32_t bits,
                  const uint8_t* palette, bool top_down_rows, std::vector<uint8_t>& out);
