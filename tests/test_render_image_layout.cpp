// Image sizes and BMP files built in memory. Header bytes are worked out by
// hand from the BMP layout (14-byte file header, 40-byte info header).
#include <gtest/gtest.h>

#include <vector>

#include "render/image_layout.h"

TEST(ImageLayout, RowsArePaddedToFourBytesAndSizesAreChecked) {
  ImageGeometry g;
  ASSERT_TRUE(ComputeImageGeometry(3, 2, 24, g));
  EXPECT_EQ(g.stride, 12u);  // 9 rounded up
  EXPECT_EQ(g.bytes, 24u);
  ASSERT_TRUE(ComputeImageGeometry(4, 1, 24, g));
  EXPECT_EQ(g.stride, 12u);
  ASSERT_TRUE(ComputeImageGeometry(5, 1, 8, g));
  EXPECT_EQ(g.stride, 8u);

  EXPECT_FALSE(ComputeImageGeometry(0, 5, 24, g));
  EXPECT_FALSE(ComputeImageGeometry(5, -1, 24, g));
  EXPECT_FALSE(ComputeImageGeometry(5, 5, 12, g));
  // 2^31 - 1 wide: the row alone passes 32 bits; the block is refused.
  EXPECT_FALSE(ComputeImageGeometry(0x7FFFFFFF, 1, 24, g));
  EXPECT_FALSE(ComputeImageGeometry(0x7FFFFFFF, 0x7FFFFFFF, 32, g));
  // Exactly at the limit passes, one row more does not.
  ASSERT_TRUE(ComputeImageGeometry(1 << 14, 1 << 14, 32, g));
  EXPECT_EQ(g.bytes, kMaxImageBytes);
  EXPECT_FALSE(ComputeImageGeometry(1 << 14, (1 << 14) + 1, 32, g));
}

TEST(ImageLayout, BmpOfA24BitImageHasTheHeadersAndRows) {
  // 1 x 2 pixels, stride 4: top row pixel (1, 2, 3), bottom row (4, 5, 6).
  const uint8_t rows[8] = {1, 2, 3, 0, 4, 5, 6, 0};
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(BuildBmpFile(rows, 1, 2, 4, 24, nullptr, false, bmp));
  const std::vector<uint8_t> expected = {
      'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,        // size 62, pixels at 54
      40,  0,   0,  0, 1, 0, 0, 0, 2, 0, 0,  0,              // info size, width 1, height +2
      1,   0,   24, 0, 0, 0, 0, 0, 8, 0, 0,  0,              // planes, bits, BI_RGB, image bytes
      0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  // resolution, colours
      1,   2,   3,  0, 4, 5, 6, 0};                          // rows as they are
  EXPECT_EQ(bmp, expected);

  // A top-down source goes in reversed, so the file's last row is its first.
  ASSERT_TRUE(BuildBmpFile(rows, 1, 2, 4, 24, nullptr, true, bmp));
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()),
            (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(ImageLayout, BmpOfAn8BitImageCarriesThePalette) {
  std::vector<uint8_t> palette(1024);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i);
  const uint8_t rows[4] = {7, 8, 0, 0};
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(BuildBmpFile(rows, 2, 1, 4, 8, palette.data(), false, bmp));
  ASSERT_EQ(bmp.size(), 1078u + 4);
  EXPECT_EQ(bmp[10], 0x36);  // pixels at 1078 = 0x436
  EXPECT_EQ(bmp[11], 0x04);
  EXPECT_EQ(bmp[28], 8);
  EXPECT_EQ(bmp[54 + 1023], 0xFF);
  EXPECT_EQ(bmp[1078], 7);

  // Without a palette the entries stay zero.
  ASSERT_TRUE(BuildBmpFile(rows, 2, 1, 4, 8, nullptr, false, bmp));
  EXPECT_EQ(bmp[54 + 1023], 0);
}

TEST(ImageLayout, BmpRefusesAStrideThatDoesNotMatchTheWidth) {
  const uint8_t rows[16] = {};
  std::vector<uint8_t> bmp;
  EXPECT_FALSE(BuildBmpFile(rows, 3, 1, 9, 24, nullptr, false, bmp));
  EXPECT_FALSE(BuildBmpFile(nullptr, 1, 1, 4, 24, nullptr, false, bmp));
  EXPECT_FALSE(BuildBmpFile(rows, 1, 0, 4, 24, nullptr, false, bmp));
}
