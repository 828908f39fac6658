// The mesh file ("3dd") written beside every converted OBJ model: a 16-byte
// header and the raw images of a vertex and an index buffer.
//
//   offset 0   u32 format number (100)
//   offset 4   u32 vertex format code (0x112: position, normal, one uv)
//   offset 8   u32 vertex count V
//   offset 12  u32 index count I
//   offset 16  V x 32-byte vertices, then I x u16 indices (triangle list)
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modelio/obj_model.h"

constexpr uint32_t kMeshFormatNumber = 100;
constexpr uint32_t kMeshVertexFormat = 0x112;
constexpr size_t kMeshHeaderBytes = 16;
constexpr size_t kMeshVertexBytes = 32;

struct MeshVertex {
  float position[3];
  float normal[3];
  float u, v;
};
static_assert(sizeof(MeshVertex) == kMeshVertexBytes, "mesh vertices are 32 bytes");

// Drive, folder and base name of the OBJ path with the extension "3dd".
std::u16string MeshFilePath(const std::u16string& obj_path);

// Fills `vertices` (corner count entries) and, when given, `indices` (index
// count entries): scale, then rotation about Y, then `offset` when given;
// normals are the face normal, or the corner's own under smoothing.
// `crease_angle` is accepted for the callers' sake; the normals do not use it.
void ConvertObjModel(const ObjModel& model, MeshVertex* vertices, uint16_t* indices, float rotation_y,
                     float crease_angle, const float* offset, float scale);

// Converts the model into the mesh file's bytes in memory (`bytes` is
// replaced). False when the model has no corners.
bool BuildMeshBytes(const ObjModel& model, float crease_angle, const float* offset, float scale,
                    float rotation_y, std::vector<uint8_t>& bytes);
// Writes mesh file bytes to `path` under a temporary name of this run, which
// then replaces the file; a file that already holds exactly these bytes is
// left alone. False when the file cannot be written completely; the file is
// then left as it was (never half-written).
bool StoreMeshFile(const std::u16string& path, const std::vector<uint8_t>& bytes);
// BuildMeshBytes and StoreMeshFile: false when either fails.
bool WriteMeshFile(const ObjModel& model, const std::u16string& path, float crease_angle, const float* offset,
                   float scale, float rotation_y);

// What is wrong with a mesh file, if anything.
enum class MeshFileCheck {
  kOk,
  kTooShort,           // fewer than 16 bytes
  kWrongFormatNumber,  // not 100
  kWrongVertexFormat,  // not 0x112
  kSizeMismatch,       // the size is not 16 + 32 V + 2 I
  kIndexOutOfRange,    // an index is not below V
  kUnreadable,         // the file is missing or cannot be read
};
// A short English phrase for messages and the CLI.
const char* MeshFileCheckText(MeshFileCheck check);

struct MeshFileHeader {
  uint32_t format_number = 0;
  uint32_t vertex_format = 0;
  uint32_t vertex_count = 0;
  uint32_t index_count = 0;
};

// Checks mesh file bytes without copying them; `header`, when given, gets
// the header fields whenever 16 bytes are present.
MeshFileCheck CheckMeshFile(const uint8_t* data, size_t size, MeshFileHeader* header = nullptr);

// A checked mesh file, ready to be uploaded as it is.
struct MeshData {
  MeshFileHeader header;
  std::vector<MeshVertex> vertices;
  std::vector<uint16_t> indices;
};
// Checks the bytes and copies them out; `mesh` is emptied on failure.
MeshFileCheck ParseMeshFile(const uint8_t* data, size_t size, MeshData& mesh);
// Reads a mesh file whole and parses it.
MeshFileCheck LoadMeshFile(const std::u16string& path, MeshData& mesh);
