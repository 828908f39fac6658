// Vertex layouts given by Direct3D 9 flexible-vertex-format codes, and the
// vertex work that needs no device: converting between layouts, bounds,
// sphere-mapped texture coordinates and primitive counts. Kept free of
// Windows headers so it is tested on both builds.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kMaxTexCoordSets = 8;

struct VertexLayout {
  uint32_t fvf = 0;
  uint32_t size = 0;          // bytes per vertex
  bool has_position = false;  // three position floats at offset 0
  uint32_t extra_floats = 0;  // rhw, w or blend weights after x, y, z
  int normal_offset = -1;     // -1 when absent
  int psize_offset = -1;
  int diffuse_offset = -1;
  int specular_offset = -1;
  uint32_t tex_sets = 0;
  int tex_offset[kMaxTexCoordSets] = {};
  uint32_t tex_floats[kMaxTexCoordSets] = {};
};

// False for a code that no vertex can have (an unknown position kind, more
// than eight coordinate sets, or nothing at all).
bool DescribeVertexFormat(uint32_t fvf, VertexLayout& layout);
// Bytes per vertex, 0 for an invalid code.
uint32_t VertexSizeOfFormat(uint32_t fvf);

// Rewrites `count` vertices of layout `from` as layout `to`, field by field;
// what the source lacks becomes 0, except colours, which become opaque white.
void ConvertVertices(const VertexLayout& from, const uint8_t* src, const VertexLayout& to, uint8_t* dst,
                     uint32_t count);

struct BoundingBox {
  float min[3];
  float max[3];
};
// Scans the positions; an empty set or a layout without position leaves the
// starting values (99999 and -99999 on each axis).
BoundingBox ComputeVertexBounds(const VertexLayout& layout, const uint8_t* vertices, uint32_t count);

// Texture set that the sphere mapping writes for this code, or -1 when the
// code is not one that carries a reflection set.
int SphereMapTexSet(uint32_t fvf);
// For every vertex whose normal faces the viewer (n . third column of m is
// at most 0), writes u = (n . first column + 1) / 2 and v likewise from the
// second column. `m` is world x view, row-major (m[4 * row + column]).
void ApplySphereMap(const VertexLayout& layout, uint8_t* vertices, uint32_t count, const float m[16]);

// Direct3D 9 primitive types by their numbers.
enum PrimitiveKind : int {
  kPointList = 1,
  kLineList = 2,
  kLineStrip = 3,
  kTriangleList = 4,
  kTriangleStrip = 5,
  kTriangleFan = 6,
};
// Primitives that `n` vertices or indices make; 0 when too few for one.
uint32_t PrimitiveCountFor(int kind, uint32_t n);
