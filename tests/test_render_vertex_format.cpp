// Vertex layouts from format codes and the device-free vertex work of the
// preview meshes. Sizes and offsets are worked out by hand from the
// flexible-vertex-format rules (position 12, rhw/w/weights 4 each, normal 12,
// point size 4, colours 4 each, texture sets of 1-4 floats).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/vertex_format.h"

namespace {

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

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t v;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

VertexLayout Layout(uint32_t fvf) {
  VertexLayout layout;
  EXPECT_TRUE(DescribeVertexFormat(fvf, layout)) << std::hex << fvf;
  return layout;
}

}  // namespace

TEST(VertexFormat, SizesAndOffsetsOfTheFormatsTheProgramUses) {
  // Mesh file: position, normal, one uv.
  EXPECT_EQ(VertexSizeOfFormat(0x112), 32u);
  // Body meshes: two uv sets, the second at 32.
  VertexLayout body = Layout(0x212);
  EXPECT_EQ(body.size, 40u);
  EXPECT_EQ(body.tex_offset[1], 32);
  // Position, normal, diffuse, specular, two sets.
  VertexLayout coloured = Layout(0x2D2);
  EXPECT_EQ(coloured.size, 48u);
  EXPECT_EQ(coloured.diffuse_offset, 24);
  EXPECT_EQ(coloured.specular_offset, 28);
  EXPECT_EQ(coloured.tex_offset[1], 40);
  // Three sets, the third of three floats (size code 1 at bits 20-21).
  VertexLayout three = Layout(0x100312);
  EXPECT_EQ(three.size, 52u);
  EXPECT_EQ(three.tex_floats[2], 3u);
  EXPECT_EQ(three.tex_offset[1], 32);
  // Line batches: pre-transformed 32 bytes, world 28 bytes.
  VertexLayout screen = Layout(0x1C4);
  EXPECT_EQ(screen.size, 32u);
  EXPECT_EQ(screen.extra_floats, 1u);
  EXPECT_EQ(screen.diffuse_offset, 16);
  EXPECT_EQ(VertexSizeOfFormat(0x1C2), 28u);
  // Five blend weights, point size, one-float set (code 3 at bits 16-17).
  VertexLayout blended = Layout(0x00E | 0x020 | 0x100 | (3u << 16));
  EXPECT_EQ(blended.size, 12u + 20 + 4 + 4);
  EXPECT_EQ(blended.tex_floats[0], 1u);
  // x, y, z, w.
  EXPECT_EQ(VertexSizeOfFormat(0x4002), 16u);
}

TEST(VertexFormat, CodesNoVertexCanHaveAreRefused) {
  VertexLayout layout;
  EXPECT_FALSE(DescribeVertexFormat(0x4004, layout));  // w bit with rhw
  EXPECT_FALSE(DescribeVertexFormat(0x902, layout));   // nine texture sets
  EXPECT_FALSE(DescribeVertexFormat(0, layout));       // nothing at all
  EXPECT_EQ(VertexSizeOfFormat(0x4006), 0u);
}

TEST(VertexFormat, ConversionKeepsSharedFieldsAndFillsTheRest) {
  // One mesh vertex: position, normal, uv.
  const std::vector<uint8_t> mesh = Pack({1, 2, 3, 0, 1, 0, 0.25f, 0.75f});
  std::vector<uint8_t> out(48, 0xCC);
  ConvertVertices(Layout(0x112), mesh.data(), Layout(0x2D2), out.data(), 1);
  EXPECT_EQ(FloatAt(out, 0), 1.0f);
  EXPECT_EQ(FloatAt(out, 8), 3.0f);
  EXPECT_EQ(FloatAt(out, 16), 1.0f);       // normal y
  EXPECT_EQ(U32At(out, 24), 0xFFFFFFFFu);  // missing diffuse: white
  EXPECT_EQ(U32At(out, 28), 0xFFFFFFFFu);  // missing specular: white
  EXPECT_EQ(FloatAt(out, 32), 0.25f);      // first set copied
  EXPECT_EQ(FloatAt(out, 36), 0.75f);
  EXPECT_EQ(FloatAt(out, 40), 0.0f);  // second set missing: 0
  EXPECT_EQ(FloatAt(out, 44), 0.0f);

  // Back the other way, two vertices: colours and the second set drop out.
  std::vector<uint8_t> two(96, 0);
  std::memcpy(two.data(), out.data(), 48);
  std::memcpy(two.data() + 48, out.data(), 48);
  std::vector<uint8_t> back(64, 0xCC);
  ConvertVertices(Layout(0x2D2), two.data(), Layout(0x112), back.data(), 2);
  EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.begin() + 32), mesh);
  EXPECT_EQ(std::vector<uint8_t>(back.begin() + 32, back.end()), mesh);

  // A pre-transformed vertex into a world vertex with a normal: rhw is not
  // a world value, the normal is missing (0), a one-float set is widened.
  std::vector<uint8_t> screen = Pack({5, 6, 7, 1, 0, 0, 0.5f, 0.5f});
  std::memcpy(screen.data() + 16, "\x11\x22\x33\x44\x55\x66\x77\x88", 8);
  std::vector<uint8_t> world(40, 0xCC);
  ConvertVertices(Layout(0x1C4), screen.data(), Layout(0x212 | (3u << 16)), world.data(), 1);
  EXPECT_EQ(FloatAt(world, 0), 5.0f);
  EXPECT_EQ(FloatAt(world, 12), 0.0f);
  EXPECT_EQ(FloatAt(world, 24), 0.5f);  // first set: one float from two
  EXPECT_EQ(FloatAt(world, 28), 0.0f);  // second set: absent in the source
}

TEST(VertexFormat, BoundsScanPositionsFromTheStartingValues) {
  const VertexLayout layout = Layout(0x112);
  BoundingBox empty = ComputeVertexBounds(layout, nullptr, 0);
  EXPECT_EQ(empty.min[0], 99999.0f);
  EXPECT_EQ(empty.max[2], -99999.0f);
  std::vector<uint8_t> v = Pack({1, -2, 3, 0, 0, 0, 0, 0, -4, 5, 0.5f, 0, 0, 0, 0, 0});
  BoundingBox box = ComputeVertexBounds(layout, v.data(), 2);
  EXPECT_EQ(box.min[0], -4.0f);
  EXPECT_EQ(box.min[1], -2.0f);
  EXPECT_EQ(box.min[2], 0.5f);
  EXPECT_EQ(box.max[0], 1.0f);
  EXPECT_EQ(box.max[1], 5.0f);
  EXPECT_EQ(box.max[2], 3.0f);
}

TEST(VertexFormat, SphereMapWritesOnlyVerticesFacingTheViewer) {
  // Identity world x view: columns are the axes.
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::vector<uint8_t> v = Pack({
      0, 0, 0, 0, 0,  -1, 9, 9,  // facing the viewer: (0.5, 0.5)
      0, 0, 0, 1, 0,  0,  9, 9,  // side-on (n . z = 0 counts): (1, 0.5)
      0, 0, 0, 0, 0,  1,  9, 9,  // facing away: untouched
      0, 0, 0, 0, -1, -0, 9, 9,  // looking down: (0.5, 0)
  });
  ApplySphereMap(Layout(0x112), v.data(), 4, identity);
  EXPECT_EQ(FloatAt(v, 24), 0.5f);
  EXPECT_EQ(FloatAt(v, 28), 0.5f);
  EXPECT_EQ(FloatAt(v, 32 + 24), 1.0f);
  EXPECT_EQ(FloatAt(v, 32 + 28), 0.5f);
  EXPECT_EQ(FloatAt(v, 64 + 24), 9.0f);
  EXPECT_EQ(FloatAt(v, 64 + 28), 9.0f);
  EXPECT_EQ(FloatAt(v, 96 + 28), 0.0f);

  // A view turned 90 degrees about Y (x' = -z, z' = x, row vectors): the
  // normal +x now faces away, -x faces the viewer with u from column 1.
  const float turned[16] = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1};
  std::vector<uint8_t> w = Pack({0, 0, 0, 1, 0, 0, 9, 9, 0, 0, 0, -1, 0, 0, 9, 9});
  ApplySphereMap(Layout(0x112), w.data(), 2, turned);
  EXPECT_EQ(FloatAt(w, 24), 9.0f);
  EXPECT_EQ(FloatAt(w, 32 + 24), 0.5f);  // n . column 1 = 0
  EXPECT_EQ(FloatAt(w, 32 + 28), 0.5f);

  // Body meshes take the second set; other formats are left alone.
  std::vector<uint8_t> body = Pack({0, 0, 0, 0, 0, -1, 7, 7, 9, 9});
  ApplySphereMap(Layout(0x212), body.data(), 1, identity);
  EXPECT_EQ(FloatAt(body, 24), 7.0f);
  EXPECT_EQ(FloatAt(body, 32), 0.5f);
  std::vector<uint8_t> plain = Pack({0, 0, 0, 0, 0, -1, 7, 7, 9, 9, 9});
  ApplySphereMap(Layout(0x312), plain.data(), 1, identity);
  EXPECT_EQ(FloatAt(plain, 32), 9.0f);
}

TEST(VertexFormat, PrimitiveCountsNeverWrapBelowOnePrimitive) {
  EXPECT_EQ(PrimitiveCountFor(kPointList, 5), 5u);
  EXPECT_EQ(PrimitiveCountFor(kLineList, 5), 2u);
  EXPECT_EQ(PrimitiveCountFor(kLineStrip, 5), 4u);
  EXPECT_EQ(PrimitiveCountFor(kLineStrip, 1), 0u);
  EXPECT_EQ(PrimitiveCountFor(kLineStrip, 0), 0u);
  EXPECT_EQ(PrimitiveCountFor(kTriangleList, 8), 2u);
  EXPECT_EQ(PrimitiveCountFor(kTriangleStrip, 2), 0u);
  EXPECT_EQ(PrimitiveCountFor(kTriangleFan, 0), 0u);
  EXPECT_EQ(PrimitiveCountFor(kTriangleFan, 6), 4u);
  EXPECT_EQ(PrimitiveCountFor(99, 6), 0u);
}
