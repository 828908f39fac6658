#include "render/vertex_format.h"

#include <cstring>

namespace {

constexpr uint32_t kPositionMask = 0x400E;
constexpr uint32_t kNormal = 0x010;
constexpr uint32_t kPointSize = 0x020;
constexpr uint32_t kDiffuse = 0x040;
constexpr uint32_t kSpecular = 0x080;
constexpr uint32_t kTexCountMask = 0xF00;
constexpr uint32_t kTexCountShift = 8;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// Floats after x, y, z for each position kind; -1 for kinds that do not exist.
int ExtraPositionFloats(uint32_t position) {
  switch (position) {
    case 0x0000:
      return 0;  // no position at all
    case 0x0002:
      return 0;  // x, y, z
    case 0x0004:
      return 1;  // pre-transformed: rhw
    case 0x0006:
      return 1;  // blend weights 1 to 5
    case 0x0008:
      return 2;
    case 0x000A:
      return 3;
    case 0x000C:
      return 4;
    case 0x000E:
      return 5;
    case 0x4002:
      return 1;  // x, y, z, w
    default:
      return -1;
  }
}

float ReadFloat(const uint8_t* p) {
  float f;
  std::memcpy(&f, p, sizeof f);
  return f;
}

void WriteFloat(uint8_t* p, float f) {
  std::memcpy(p, &f, sizeof f);
}

void CopyColour(const uint8_t* src, int src_offset, uint8_t* dst, int dst_offset) {
  if (dst_offset < 0) return;
  if (src_offset >= 0)
    std::memcpy(dst + dst_offset, src + src_offset, 4);
  else
    std::memcpy(dst + dst_offset, &kOpaqueWhite, 4);
}

// Copies `dst_count` floats, taking as many as the source has and zeroing the rest.
void CopyFloats(const uint8_t* src, uint32_t src_count, uint8_t* dst, uint32_t dst_count) {
  const uint32_t shared = src_count < dst_count ? src_count : dst_count;
  std::memcpy(dst, src, shared * 4);
  std::memset(dst + shared * 4, 0, (dst_count - shared) * 4);
}

}  // namespace

bool DescribeVertexFormat(uint32_t fvf, VertexLayout& layout) {
  layout = VertexLayout{};
  layout.fvf = fvf;
  const uint32_t position = fvf & kPositionMask;
  const int extra = ExtraPositionFloats(position);
  const uint32_t sets = (fvf & kTexCountMask) >> kTexCountShift;
  if (extra < 0 || sets > kMaxTexCoordSets) return false;

  uint32_t offset = 0;
  if (position != 0) {
    layout.has_position = true;
    layout.extra_floats = static_cast<uint32_t>(extra);
    offset = 12 + 4 * layout.extra_floats;
  }
  if (fvf & kNormal) {
    layout.normal_offset = static_cast<int>(offset);
    offset += 12;
  }
  if (fvf & kPointSize) {
    layout.psize_offset = static_cast<int>(offset);
    offset += 4;
  }
  if (fvf & kDiffuse) {
    layout.diffuse_offset = static_cast<int>(offset);
    offset += 4;
  }
  if (fvf & kSpecular) {
    layout.specular_offset = static_cast<int>(offset);
    offset += 4;
  }
  layout.tex_sets = sets;
  for (uint32_t i = 0; i < sets; ++i) {
    // Two bits per set from bit 16: 0 two floats, 1 three, 2 four, 3 one.
    static const uint32_t kFloatsByCode[4] = {2, 3, 4, 1};
    layout.tex_offset[i] = static_cast<int>(offset);
    layout.tex_floats[i] = kFloatsByCode[(fvf >> (16 + 2 * i)) & 3];
    offset += 4 * layout.tex_floats[i];
  }
  layout.size = offset;
  return offset != 0;
}

uint32_t VertexSizeOfFormat(uint32_t fvf) {
  VertexLayout layout;
  return DescribeVertexFormat(fvf, layout) ? layout.size : 0;
}

void ConvertVertices(const VertexLayout& from, const uint8_t* src, const VertexLayout& to, uint8_t* dst,
                     uint32_t count) {
  for (uint32_t v = 0; v < count; ++v, src += from.size, dst += to.size) {
    if (to.has_position) {
      if (from.has_position) {
        CopyFloats(src, 3, dst, 3);
        CopyFloats(src + 12, from.extra_floats, dst + 12, to.extra_floats);
      } else {
        std::memset(dst, 0, 12 + 4 * to.extra_floats);
      }
    }
    if (to.normal_offset >= 0) {
      if (from.normal_offset >= 0)
        std::memcpy(dst + to.normal_offset, src + from.normal_offset, 12);
      else
        std::memset(dst + to.normal_offset, 0, 12);
    }
    if (to.psize_offset >= 0) {
      if (from.psize_offset >= 0)
        std::memcpy(dst + to.psize_offset, src + from.psize_offset, 4);
      else
        std::memset(dst + to.psize_offset, 0, 4);
    }
    CopyColour(src, from.diffuse_offset, dst, to.diffuse_offset);
    CopyColour(src, from.specular_offset, dst, to.specular_offset);
    for (uint32_t i = 0; i < to.tex_sets; ++i) {
      const uint32_t available = i < from.tex_sets ? from.tex_floats[i] : 0;
      const uint8_t* source = i < from.tex_sets ? src + from.tex_offset[i] : src;
      CopyFloats(source, available, dst + to.tex_offset[i], to.tex_floats[i]);
    }
  }
}

BoundingBox ComputeVertexBounds(const VertexLayout& layout, const uint8_t* vertices, uint32_t count) {
  BoundingBox box{{99999.0f, 99999.0f, 99999.0f}, {-99999.0f, -99999.0f, -99999.0f}};
  if (!layout.has_position) return box;
  for (uint32_t v = 0; v < count; ++v, vertices += layout.size) {
    for (int axis = 0; axis < 3; ++axis) {
      const float value = ReadFloat(vertices + 4 * axis);
      if (value < box.min[axis]) box.min[axis] = value;
      if (value > box.max[axis]) box.max[axis] = value;
    }
  }
  return box;
}

int SphereMapTexSet(uint32_t fvf) {
  switch (fvf) {
    case 0x112:
      return 0;  // position, normal, one set: the only set
    case 0x212:  // the reflection set is the second one
    case 0x2D2:
    case 0x100312:
      return 1;
    default:
      return -1;
  }
}

void ApplySphereMap(const VertexLayout& layout, uint8_t* vertices, uint32_t count, const float m[16]) {
  const int set = SphereMapTexSet(layout.fvf);
  if (set < 0 || layout.normal_offset < 0 || static_cast<uint32_t>(set) >= layout.tex_sets) return;
  for (uint32_t v = 0; v < count; ++v, vertices += layout.size) {
    const uint8_t* normal = vertices + layout.normal_offset;
    const float nx = ReadFloat(normal), ny = ReadFloat(normal + 4), nz = ReadFloat(normal + 8);
    const float facing = nx * m[2] + ny * m[6] + nz * m[10];
    if (facing > 0.0f) continue;
    const float u = (nx * m[0] + ny * m[4] + nz * m[8] + 1.0f) * 0.5f;
    const float w = (nx * m[1] + ny * m[5] + nz * m[9] + 1.0f) * 0.5f;
    uint8_t* tex = vertices + layout.tex_offset[set];
    WriteFloat(tex, u);
    WriteFloat(tex + 4, w);
  }
}

uint32_t PrimitiveCountFor(int kind, uint32_t n) {
  switch (kind) {
    case kPointList:
      return n;
    case kLineList:
      return n / 2;
    case kLineStrip:
      return n >= 2 ? n - 1 : 0;
    case kTriangleList:
      return n / 3;
    case kTriangleStrip:
    case kTriangleFan:
      return n >= 3 ? n - 2 : 0;
    default:
      return 0;
  }
}
