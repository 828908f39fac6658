// Image sizes, BMP files built in memory, vertex layouts and the device-free
// vertex work of the preview meshes. Sizes, offsets and header bytes are
// worked out by hand from the BMP layout and the flexible-vertex-format
// rules (tests/data/render/cases.txt).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "render/image_layout.h"
#include "render/vertex_format.h"
#include "tests/case_text.h"

namespace {

uint32_t Number(const std::string& text) { return uint32_t(std::stoll(text, nullptr, 0)); }

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char byte[4];
  for (uint8_t b : bytes) {
    std::snprintf(byte, sizeof byte, out.empty() ? "%02X" : " %02X", b);
    out += byte;
  }
  return out;
}

std::vector<uint8_t> Pack(const std::vector<float>& floats) {
  std::vector<uint8_t> bytes(floats.size() * 4);
  std::memcpy(bytes.data(), floats.data(), bytes.size());
  return bytes;
}

float FloatAt(const std::vector<uint8_t>& bytes, size_t offset) {
  float f;
  std::memcpy(&f, bytes.data() + offset, 4);
  return f;
}

VertexLayout Layout(uint32_t fvf) {
  VertexLayout layout;
  EXPECT_TRUE(DescribeVertexFormat(fvf, layout)) << std::hex << fvf;
  return layout;
}

TEST(RenderCases, ImagesBmpFilesVertexLayoutsAndPrimitives) {
  RunCaseFile(
      "render/cases.txt",
      {{"geometry",
        [](const CaseFields& in) {
          ImageGeometry g;
          if (!ComputeImageGeometry(int32_t(Number(in[0])), int32_t(Number(in[1])), Number(in[2]), g))
            return std::string("refused");
          return "stride " + std::to_string(g.stride) + " bytes " + std::to_string(g.bytes);
        }},
       {"bmp",
        [](const CaseFields& in) {
          std::vector<uint8_t> rows(in[5].begin(), in[5].end()), bmp;
          if (!BuildBmpFile(rows.empty() ? nullptr : rows.data(), int32_t(Number(in[0])), int32_t(Number(in[1])),
                            Number(in[2]), Number(in[3]), nullptr, in[4] == "top-down", bmp))
            return std::string("refused");
          return Hex(bmp);
        }},
       {"layout",
        [](const CaseFields& in) {
          VertexLayout l;
          if (!DescribeVertexFormat(Number(in[0]), l)) return std::string("refused");
          std::string out = "size " + std::to_string(l.size) + " extra " + std::to_string(l.extra_floats) +
                            " normal " + std::to_string(l.normal_offset) + " psize " +
                            std::to_string(l.psize_offset) + " diffuse " + std::to_string(l.diffuse_offset) +
                            " specular " + std::to_string(l.specular_offset) + " tex";
          for (uint32_t i = 0; i < l.tex_sets; ++i)
            out += " " + std::to_string(l.tex_offset[i]) + ":" + std::to_string(l.tex_floats[i]);
          return out;
        }},
       {"size", [](const CaseFields& in) { return std::to_string(VertexSizeOfFormat(Number(in[0]))); }},
       {"primitives", [](const CaseFields& in) {
          return std::to_string(PrimitiveCountFor(int(Number(in[0])), Number(in[1])));
        }}});
}

TEST(RenderCases, BmpOfAn8BitImageCarriesThePalette) {
  std::vector<uint8_t> palette(1024);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i);
  const uint8_t rows[4] = {7, 8, 0, 0};
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(BuildBmpFile(rows, 2, 1, 4, 8, palette.data(), false, bmp));
  ASSERT_EQ(bmp.size(), 1078u + 4);
  EXPECT_EQ(Hex({bmp[10], bmp[11], bmp[28], bmp[54 + 1023], bmp[1078]}), "36 04 08 FF 07");  // pixels at 0x436
  ASSERT_TRUE(BuildBmpFile(rows, 2, 1, 4, 8, nullptr, false, bmp));
  EXPECT_EQ(bmp[54 + 1023], 0);  // without a palette the entries stay zero
}

TEST(VertexFormat, ConversionKeepsSharedFieldsAndFillsTheRest) {
  // One mesh vertex: position, normal, uv; into one with colours and two
  // sets: missing colours are white, a missing set 0.
  const std::vector<uint8_t> mesh = Pack({1, 2, 3, 0, 1, 0, 0.25f, 0.75f});
  std::vector<uint8_t> out(48, 0xCC);
  ConvertVertices(Layout(0x112), mesh.data(), Layout(0x2D2), out.data(), 1);
  EXPECT_EQ(Hex(out), Hex(Pack({1, 2, 3, 0, 1, 0})) + " FF FF FF FF FF FF FF FF " + Hex(Pack({0.25f, 0.75f, 0, 0})));
  // Back the other way, two vertices: colours and the second set drop out.
  std::vector<uint8_t> two = out, back(64, 0xCC);
  two.insert(two.end(), out.begin(), out.end());
  ConvertVertices(Layout(0x2D2), two.data(), Layout(0x112), back.data(), 2);
  EXPECT_EQ(Hex(back), Hex(mesh) + " " + Hex(mesh));
  // A pre-transformed vertex into a world vertex with a normal: rhw is not
  // a world value, the normal is missing (0), a one-float set is widened.
  std::vector<uint8_t> screen = Pack({5, 6, 7, 1, 0, 0, 0.5f, 0.5f});
  std::memcpy(screen.data() + 16, "\x11\x22\x33\x44\x55\x66\x77\x88", 8);
  std::vector<uint8_t> world(40, 0xCC);
  ConvertVertices(Layout(0x1C4), screen.data(), Layout(0x212 | (3u << 16)), world.data(), 1);
  EXPECT_EQ(Hex(world).substr(0, 3 * 32 - 1), Hex(Pack({5, 6, 7, 0, 0, 0, 0.5f, 0})));

  // Bounds scan positions from their starting values.
  const BoundingBox empty = ComputeVertexBounds(Layout(0x112), nullptr, 0);
  EXPECT_TRUE(empty.min[0] == 99999.0f && empty.max[2] == -99999.0f);
  const std::vector<uint8_t> v = Pack({1, -2, 3, 0, 0, 0, 0, 0, -4, 5, 0.5f, 0, 0, 0, 0, 0});
  const BoundingBox box = ComputeVertexBounds(Layout(0x112), v.data(), 2);
  EXPECT_EQ(Hex(Pack({box.min[0], box.min[1], box.min[2], box.max[0], box.max[1], box.max[2]})),
            Hex(Pack({-4, -2, 0.5f, 1, 5, 3})));
}

TEST(VertexFormat, SphereMapWritesOnlyVerticesFacingTheViewer) {
  // Identity world x view: columns are the axes. Facing the viewer gives
  // (0.5, 0.5); side-on (n . z = 0 counts) (1, 0.5); facing away is left;
  // looking down (0.5, 0).
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::vector<uint8_t> v = Pack({0, 0, 0, 0, 0, -1, 9, 9, 0, 0, 0, 1, 0, 0, 9, 9,  //
                                 0, 0, 0, 0, 0, 1, 9, 9, 0, 0, 0, 0, -1, -0.0f, 9, 9});
  ApplySphereMap(Layout(0x112), v.data(), 4, identity);
  EXPECT_EQ(Hex(v), Hex(Pack({0, 0, 0, 0, 0, -1, 0.5f, 0.5f, 0, 0, 0, 1, 0, 0, 1, 0.5f,  //
                              0, 0, 0, 0, 0, 1, 9, 9, 0, 0, 0, 0, -1, -0.0f, 0.5f, 0})));
  // A view turned 90 degrees about Y (x' = -z, z' = x, row vectors): the
  // normal +x now faces away, -x faces the viewer with u from column 1.
  const float turned[16] = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1};
  std::vector<uint8_t> w = Pack({0, 0, 0, 1, 0, 0, 9, 9, 0, 0, 0, -1, 0, 0, 9, 9});
  ApplySphereMap(Layout(0x112), w.data(), 2, turned);
  EXPECT_EQ(Hex(w), Hex(Pack({0, 0, 0, 1, 0, 0, 9, 9, 0, 0, 0, -1, 0, 0, 0.5f, 0.5f})));
  // Body meshes take the second set; other formats are left alone.
  std::vector<uint8_t> body = Pack({0, 0, 0, 0, 0, -1, 7, 7, 9, 9});
  ApplySphereMap(Layout(0x212), body.data(), 1, identity);
  EXPECT_EQ(Hex(body), Hex(Pack({0, 0, 0, 0, 0, -1, 7, 7, 0.5f, 0.5f})));
  std::vector<uint8_t> plain = Pack({0, 0, 0, 0, 0, -1, 7, 7, 9, 9, 9});
  ApplySphereMap(Layout(0x312), plain.data(), 1, identity);
  EXPECT_EQ(FloatAt(plain, 32), 9.0f);
}

}  // namespace
