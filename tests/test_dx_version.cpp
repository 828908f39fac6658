// DirectX version packing and the inference from system-file versions,
// with expected values worked out by hand from the version table.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/dx_version.h"

namespace {

FileVersion V(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return FileVersion{(a << 16) | b, (c << 16) | d};
}

uint32_t InferFrom(const std::map<std::u16string, FileVersion>& files) {
  return PackDirectXVersion(InferDirectXVersionFromFiles([&](const char16_t* name, FileVersion* v) {
    auto it = files.find(name);
    if (it == files.end()) return false;
    *v = it->second;
    return true;
  }));
}

}  // namespace

TEST(DxVersion, Packing) {
  EXPECT_EQ(0x00090000u, PackDirectXVersion({9, 0, u' '}));
  EXPECT_EQ(0x00090003u, PackDirectXVersion({9, 0, u'c'}));
  EXPECT_EQ(0x00090003u, PackDirectXVersion({9, 0, u'C'}));
  EXPECT_EQ(0x0009001Au, PackDirectXVersion({9, 0, u'z'}));
  EXPECT_EQ(0x00090000u, PackDirectXVersion({9, 0, u'?'}));
  EXPECT_EQ(0x00090000u, PackDirectXVersion({9, 0, u'\u00E9'}));
  EXPECT_EQ(0x00091D00u, PackDirectXVersion({9, 29, u' '}));
  // A minor number too big for its byte does not bleed into the major.
  EXPECT_EQ(0x00090100u, PackDirectXVersion({9, 0x101, u' '}));
}

TEST(DxVersion, InferredFromSystemFiles) {
  // Nothing readable: 0.0, which start-up refuses.
  EXPECT_EQ(0u, InferFrom({}));

  // What Wine 8 reports: the newest D3DX wins with 9.29.
  std::map<std::u16string, FileVersion> wine = {
      {u"ddraw.dll", V(5, 3, 1, 904)},        {u"d3d8.dll", V(5, 3, 1, 904)},
      {u"d3d9.dll", V(5, 3, 1, 904)},         {u"d3dx9_29.dll", V(9, 11, 519, 0)},
      {u"D3DX9_37.dll", V(9, 22, 949, 2248)}, {u"D3DX9_43.dll", V(9, 29, 952, 3111)}};
  EXPECT_EQ(0x00091D00u, InferFrom(wine));
  wine.erase(u"D3DX9_43.dll");
  EXPECT_EQ(0x00091200u, InferFrom(wine));
  wine.erase(u"D3DX9_37.dll");
  wine.erase(u"d3dx9_29.dll");
  EXPECT_EQ(0x00090000u, InferFrom(wine));
  wine.erase(u"d3d9.dll");
  // ddraw 5.3 passes the major-5 threshold of 8.0, d3d8 5.3 those of 8.1 a.
  EXPECT_EQ(0x00080101u, InferFrom(wine));

  // Only the DirectX 7 files: 7.0, then 7.0 a with dinput.
  EXPECT_EQ(0x00070000u, InferFrom({{u"ddraw.dll", V(4, 7, 0, 700)}}));
  EXPECT_EQ(0x00060100u, InferFrom({{u"ddraw.dll", V(4, 7, 0, 699)}}));
  EXPECT_EQ(0x00070001u, InferFrom({{u"ddraw.dll", V(4, 7, 0, 700)}, {u"dinput.dll", V(4, 7, 0, 716)}}));
  // A later row only counts when it passes: an old dinput leaves 7.0.
  EXPECT_EQ(0x00070000u, InferFrom({{u"ddraw.dll", V(4, 7, 0, 700)}, {u"dinput.dll", V(4, 7, 0, 715)}}));

  // The major-4-or-5 rows: each major has its own threshold; the build
  // number matters for major 5 (2258 for 8.0).
  EXPECT_EQ(0x00080000u, InferFrom({{u"ddraw.dll", V(4, 8, 0, 400)}}));
  EXPECT_EQ(0x00070000u, InferFrom({{u"ddraw.dll", V(5, 1, 2257, 400)}}));
  EXPECT_EQ(0x00080000u, InferFrom({{u"ddraw.dll", V(5, 1, 2258, 400)}}));
  EXPECT_EQ(0x00080100u, InferFrom({{u"ddraw.dll", V(5, 1, 2258, 400)}, {u"d3d8.dll", V(5, 1, 2600, 900)}}));
  EXPECT_EQ(0x00080102u, InferFrom({{u"ddraw.dll", V(5, 1, 2258, 400)},
                                    {u"d3d8.dll", V(4, 8, 1, 901)},
                                    {u"mpg2splt.ax", V(6, 3, 1, 885)}}));
  EXPECT_EQ(0x00080200u, InferFrom({{u"dpnet.dll", V(5, 2, 3677, 134)}}));
  // A later, larger major does not pass the 4-or-5 rows.
  EXPECT_EQ(0u, InferFrom({{u"dpnet.dll", V(6, 0, 0, 0)}}));
}
