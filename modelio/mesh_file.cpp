#include "modelio/mesh_file.h"

#include <cmath>
#include <cstring>

#include "modelio/vector3.h"
#include "platform/fs.h"

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the mesh file is the memory image of little-endian buffers"
#endif

namespace {

// The rotation about Y as a row-vector matrix: rows x, y, z, w.
struct RotationY {
  float m[4][4];
  explicit RotationY(float angle) : m{} {
    float c = angle == 0.0f ? 1.0f : std::cos(angle);
    float s = angle == 0.0f ? 0.0f : std::sin(angle);
    m[0][0] = c;
    m[0][2] = -s;
    m[1][1] = 1.0f;
    m[2][0] = s;
    m[2][2] = c;
    m[3][3] = 1.0f;
  }
  // A point: x * row 0 + y * row 1 + z * row 2 + row 3, w dropped.
  void Point(const float p[3], float out[3]) const {
    for (int j = 0; j < 3; ++j) out[j] = p[0] * m[0][j] + p[1] * m[1][j] + p[2] * m[2][j] + m[3][j];
  }
  // A direction: the same without the translation row.
  void Direction(const float n[3], float out[3]) const {
    for (int j = 0; j < 3; ++j) out[j] = n[0] * m[0][j] + n[1] * m[1][j] + n[2] * m[2][j];
  }
};

uint32_t U32At(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Reused between writes: a fresh buffer per model would be mapped anew.
thread_local std::vector<uint8_t> t_mesh_bytes;

// True when the file at `path` already holds exactly these bytes. Making
// data again rewrites every model's mesh file, most of them unchanged, and
// each rewrite is a new file and a rename that the file system flushes to
// disk: an unchanged one is left as it is.
thread_local std::vector<uint8_t> t_existing_bytes;
bool FileHolds(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  uint64_t size = 0;
  if (!FsFileStat(path, &size, nullptr) || size != bytes.size()) return false;
  return FsReadFile(path, t_existing_bytes) && t_existing_bytes == bytes;
}

}  // namespace

std::u16string MeshFilePath(const std::u16string& obj_path) {
  SplitPath split = FsSplitPath(obj_path);
  std::u16string path = split.folder + split.name + u".3dd";
  if (path.size() > kMaxPathUnits) path.resize(kMaxPathUnits);
  return path;
}

void ConvertObjModel(const ObjModel& model, MeshVertex* vertices, uint16_t* indices, float rotation_y,
                     float /*crease_angle*/, const float* offset, float scale) {
  const RotationY rotation(rotation_y);
  for (int32_t i = 0; i < model.corner_count; ++i) {
    const ObjCorner& corner = model.corners[i];
    MeshVertex& vertex = vertices[i];
    const float scaled[3] = {scale * corner.position[0], scale * corner.position[1],
                             scale * corner.position[2]};
    rotation.Point(scaled, vertex.position);
    if (offset) {
      vertex.position[0] = vertex.position[0] + offset[0];
      vertex.position[1] = vertex.position[1] + offset[1];
      vertex.position[2] = vertex.position[2] + offset[2];
    }
    vertex.u = corner.uv[0];
    vertex.v = corner.uv[1];

    float normal[3];
    if (!(corner.flags & kCornerSmoothing)) {
      std::memcpy(normal, corner.face_normal, sizeof normal);
    } else if (!Normalize3(corner.normal, normal) && !Normalize3(corner.face_normal, normal)) {
      std::memcpy(normal, kFallbackNormal, sizeof normal);
    }
    rotation.Direction(normal, vertex.normal);
  }
  if (indices && model.index_count > 0)
    std::memcpy(indices, model.indices, static_cast<size_t>(model.index_count) * sizeof(uint16_t));
}

bool BuildMeshBytes(const ObjModel& model, float crease_angle, const float* offset, float scale,
                    float rotation_y, std::vector<uint8_t>& bytes) {
  if (model.corner_count <= 0) return false;
  const uint32_t v = static_cast<uint32_t>(model.corner_count);
  const uint32_t i = static_cast<uint32_t>(model.index_count);
  const size_t vertex_bytes = size_t{v} * kMeshVertexBytes;
  bytes.resize(kMeshHeaderBytes + vertex_bytes + size_t{i} * 2);
  const uint32_t header[4] = {kMeshFormatNumber, kMeshVertexFormat, v, i};
  std::memcpy(bytes.data(), header, sizeof header);
  auto* vertices = reinterpret_cast<MeshVertex*>(bytes.data() + kMeshHeaderBytes);
  auto* indices = i ? reinterpret_cast<uint16_t*>(bytes.data() + kMeshHeaderBytes + vertex_bytes) : nullptr;
  ConvertObjModel(model, vertices, indices, rotation_y, crease_angle, offset, scale);
  return true;
}

bool StoreMeshFile(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  // A mesh file is made again from its model at will: no flush to disk.
  return FileHolds(path, bytes) || FsWriteFileAtomic(path, bytes.data(), bytes.size());
}

bool WriteMeshFile(const ObjModel& model, const std::u16string& path, float crease_angle, const float* offset,
                   float scale, float rotation_y) {
  return BuildMeshBytes(model, crease_angle, offset, scale, rotation_y, t_mesh_bytes) &&
         StoreMeshFile(path, t_mesh_bytes);
}

const char* MeshFileCheckText(MeshFileCheck check) {
  switch (check) {
    case MeshFileCheck::kOk:
      return "mesh file is sound";
    case MeshFileCheck::kTooShort:
      return "mesh file shorter than its header";
    case MeshFileCheck::kWrongFormatNumber:
      return "mesh file format number is not 100";
    case MeshFileCheck::kWrongVertexFormat:
      return "mesh file vertex format is not 0x112";
    case MeshFileCheck::kSizeMismatch:
      return "mesh file size does not match its counts";
    case MeshFileCheck::kIndexOutOfRange:
      return "mesh file index beyond its vertices";
    case MeshFileCheck::kUnreadable:
      return "mesh file cannot be read";
  }
  return "mesh file check unknown";
}

MeshFileCheck CheckMeshFile(const uint8_t* data, size_t size, MeshFileHeader* header) {
  if (!data || size < kMeshHeaderBytes) return MeshFileCheck::kTooShort;
  MeshFileHeader h;
  h.format_number = U32At(data);
  h.vertex_format = U32At(data + 4);
  h.vertex_count = U32At(data + 8);
  h.index_count = U32At(data + 12);
  if (header) *header = h;
  if (h.format_number != kMeshFormatNumber) return MeshFileCheck::kWrongFormatNumber;
  if (h.vertex_format != kMeshVertexFormat) return MeshFileCheck::kWrongVertexFormat;
  // 64-bit sums: counts near 2^32 must not wrap around to the file's size.
  uint64_t expected =
      kMeshHeaderBytes + uint64_t{h.vertex_count} * kMeshVertexBytes + uint64_t{h.index_count} * 2;
  if (expected != size) return MeshFileCheck::kSizeMismatch;
  const uint8_t* p = data + kMeshHeaderBytes + size_t{h.vertex_count} * kMeshVertexBytes;
  for (uint32_t k = 0; k < h.index_count; ++k, p += 2) {
    uint16_t index;
    std::memcpy(&index, p, 2);
    if (index >= h.vertex_count) return MeshFileCheck::kIndexOutOfRange;
  }
  return MeshFileCheck::kOk;
}

MeshFileCheck ParseMeshFile(const uint8_t* data, size_t size, MeshData& mesh) {
  mesh = MeshData();
  MeshFileHeader header;
  MeshFileCheck check = CheckMeshFile(data, size, &header);
  if (check != MeshFileCheck::kOk) return check;
  mesh.header = header;
  mesh.vertices.resize(header.vertex_count);
  mesh.indices.resize(header.index_count);
  const uint8_t* p = data + kMeshHeaderBytes;
  if (header.vertex_count)
    std::memcpy(mesh.vertices.data(), p, size_t{header.vertex_count} * kMeshVertexBytes);
  p += size_t{header.vertex_count} * kMeshVertexBytes;
  if (header.index_count) std::memcpy(mesh.indices.data(), p, size_t{header.index_count} * 2);
  return MeshFileCheck::kOk;
}

MeshFileCheck LoadMeshFile(const std::u16string& path, MeshData& mesh) {
  std::vector<uint8_t> bytes;
  if (!FsReadFile(path, bytes)) {
    mesh = MeshData();
    return MeshFileCheck::kUnreadable;
  }
  return ParseMeshFile(bytes.data(), bytes.size(), mesh);
}
