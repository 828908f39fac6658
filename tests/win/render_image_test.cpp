// The GDI and GDI+ image helpers, and textures made from PNG bytes through
// them (tests/data/win/red_over_blue.png).
#include <d3dx9.h>

#include <cstring>

#include "render/dx_texture_win.h"
#include "render/im_batch_win.h"
#include "render/image_utils_win.h"
#include "render/preview_factory_win.h"
#include "render_test_support.h"

using namespace Gdiplus::DllExports;

namespace {

// 4 x 4, rows red, red, blue, blue.
const std::vector<uint8_t>& RedOverBlue() {
  static const std::vector<uint8_t> png = ReadBytes(SourceFile("tests/data/win/red_over_blue.png"));
  return png;
}

}  // namespace

TEST(ImageUtilities, DibImagesHaveCheckedSizesAndPaddedRows) {
  DibImage dib;
  ASSERT_EQ(CreateDibImage(dib, 4, 3), 1);
  EXPECT_EQ(dib.stride, 12u);
  ASSERT_NE(dib.bitmap, nullptr);
  EXPECT_EQ(dib.pixels[35], 0);
  // Top-down: the first bytes are the top-left pixel GDI sees.
  dib.pixels[2] = 0xFF;  // blue, green, red
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib.bitmap);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 2), RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteDibImage(dib);
  EXPECT_EQ(dib.bitmap, nullptr);
  EXPECT_EQ(dib.pixels, nullptr);
  DeleteDibImage(dib);  // nothing left to delete
  EXPECT_EQ(CreateDibImage(dib, 1 << 16, 1 << 16), 0);
  EXPECT_EQ(dib.bitmap, nullptr);
}

TEST(ImageUtilities, PngDecodedFromMemoryKeepsItsPixels) {
  // Decoding reads the stream lazily: the bitmap must keep it alive.
  std::unique_ptr<GdipImage> image;
  {
    std::vector<uint8_t> bytes = RedOverBlue();
    image = LoadImageFromMemory(bytes.data(), bytes.size());
    std::memset(bytes.data(), 0, bytes.size());
  }
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 4u);
  EXPECT_EQ(image->Height(), 4u);
  Gdiplus::ARGB colour = 0;
  ASSERT_EQ(GdipBitmapGetPixel(image->Bitmap(), 3, 0, &colour), Gdiplus::Ok);
  EXPECT_EQ(colour, 0xFFFF0000u);
  ASSERT_EQ(GdipBitmapGetPixel(image->Bitmap(), 0, 3, &colour), Gdiplus::Ok);
  EXPECT_EQ(colour, 0xFF0000FFu);

  // Bytes that are no image decode to nothing.
  const uint8_t junk[16] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_FALSE(LoadImageFromMemory(junk, sizeof junk));
  EXPECT_FALSE(LoadImageFromMemory(RedOverBlue().data(), 0));
  DibImage dib;
  EXPECT_EQ(DecodeImageToDib(RedOverBlue().data(), 20, dib), 0);  // cut short: nothing left behind
  EXPECT_EQ(dib.bitmap, nullptr);
}

class TextureFromPng : public DeviceTest {};

TEST_F(TextureFromPng, TextureShowsThePictureTheRightWayUp) {
  CD3DObject* first = renderer_->FirstObject();
  D3DPreviewFactory factory(renderer_);
  std::unique_ptr<PreviewTexture> preview = factory.CreateTexture(RedOverBlue().data(), RedOverBlue().size());
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->width, 4u);
  EXPECT_EQ(preview->height, 4u);
  EXPECT_EQ(preview->source_bytes, RedOverBlue().size());
  CDXTexture* texture = TextureOf(preview.get());
  ASSERT_NE(texture, nullptr);
  ASSERT_NE(texture->Texture(), nullptr);
  EXPECT_EQ(texture->Width(), 4.0f);
  EXPECT_EQ(texture->Description().Pool, D3DPOOL_DEFAULT);
  EXPECT_FALSE(factory.CreateTexture(RedOverBlue().data(), 30));

  // Drawn over the whole screen: the picture's top row is at the top.
  auto sprite_owner = std::make_unique<CIMSprite>(renderer_);
  CIMSprite& sprite = *sprite_owner;
  ASSERT_HRESULT_SUCCEEDED(sprite.Create(4.0f, 4.0f));
  sprite.AddQuad(RECT{0, 0, 320, 240}, RECT{0, 0, 4, 4}, 0xFFFFFFFF);
  BeginPlainFrame(*renderer_);
  renderer_->SetBlendMode(BlendMode::kOpaque);
  renderer_->Device()->SetTexture(0, texture->Texture());
  ASSERT_HRESULT_SUCCEEDED(sprite.Draw());
  renderer_->Device()->SetTexture(0, nullptr);
  const Pixels pixels = EndFrame(*renderer_);
  EXPECT_EQ(pixels.At(160, 20) & 0xC0C0C0, 0xC00000u) << std::hex << pixels.At(160, 20);  // red, with slack
  EXPECT_EQ(pixels.At(160, 220) & 0xC0C0C0, 0x0000C0u) << std::hex << pixels.At(160, 220);  // blue

  // Released with their owners: the renderer's list is back where it was.
  sprite_owner.reset();
  EXPECT_NE(renderer_->FirstObject(), first);
  preview.reset();
  EXPECT_EQ(renderer_->FirstObject(), first);
}

TEST_F(TextureFromPng, DibImagesMakeTexturesOfTheirSize) {
  DibImage dib;
  ASSERT_EQ(CreateDibImage(dib, 3, 2), 1);
  CDXTexture texture(renderer_);
  ASSERT_HRESULT_SUCCEEDED(texture.CreateFromImage24(dib));
  DeleteDibImage(dib);
  EXPECT_NE(texture.Texture(), nullptr);
  EXPECT_EQ(texture.Width(), 3.0f);
  EXPECT_EQ(texture.Height(), 2.0f);
  // The size stays the image's after the texture is made again.
  texture.ReleaseDeviceObjects();
  ASSERT_HRESULT_SUCCEEDED(texture.RestoreDeviceObjects());
  EXPECT_EQ(texture.Width(), 3.0f);
  EXPECT_TRUE(FAILED(texture.CreateFromImage24(dib)));  // deleted: no pixels
}
