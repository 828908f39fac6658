// The in-memory form of one Wavefront OBJ model with its MTL materials and
// texture rectangles, filled by ReadObjFile and turned into a mesh file by
// WriteMeshFile. One fixed-capacity record per model: nothing is allocated
// per element, and nothing is ever written past an array.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/format.h"

// What a read gives back, as COM-style result codes.
enum class ObjResult : uint32_t {
  kOk = 0,
  kPageUnusable = 0x80004005,  // the texture page set by the caller is not usable
  kNoObjFile = 0x80004006,     // the OBJ file cannot be opened
  kStopped = 0x80004007,       // a face, usemtl, index or capacity error
  kNoMtlFile = 0x8000400D,     // ReadMtlFile: the MTL file cannot be opened
};

// Capacities of the model record.
constexpr int32_t kObjMaxPositions = 50000;
constexpr int32_t kObjMaxNormals = 50000;
constexpr int32_t kObjMaxTexCoords = 50000;
constexpr int32_t kObjMaxCorners = 50000;
constexpr int32_t kObjMaxIndices = 50000;
constexpr int32_t kObjMaxFaces = 40000;
constexpr int32_t kObjMaxGroups = 8000;
constexpr int32_t kObjMaxMaterials = 8000;

constexpr size_t kObjMaterialNameBytes = 64;  // 63 bytes kept and a NUL
constexpr size_t kObjGroupNameBytes = 128;    // 127 bytes kept and a NUL
constexpr size_t kObjPathUnits = 260;         // 259 units kept and a NUL

// What the compiler gives the reader for its messages.
constexpr uint32_t kObjMessageCapacity = 0x80000;
// Lines longer than this (without their line end) are cut; the rest is skipped.
constexpr size_t kObjMaxLineBytes = 1022;
// Largest texture side taken from an image header; larger is reported.
constexpr uint32_t kObjMaxTextureSide = 16384;

// Corner flags.
constexpr uint32_t kCornerSmoothing = 2;  // smoothing was on for the face
constexpr uint32_t kCornerNoNormal = 4;   // the corner gave no normal

// Message kinds of AppendModelMessage.
constexpr int kModelMessageText = 0;
constexpr int kModelMessageWarning = 1;
constexpr int kModelMessageError = 2;

// One per material that names a texture (its map_Kd line, or else its first
// map line).
struct ObjMaterial {
  char name[kObjMaterialNameBytes];      // Shift-JIS bytes, NUL-terminated
  char16_t texture_path[kObjPathUnits];  // file found, or the last candidate tried
  float left, top, width, height;        // rectangle inside the texture page, in texels
};

// One per "g" line, and per "o" line in files that give objects instead of
// groups.
struct ObjGroup {
  char name[kObjGroupNameBytes];  // Shift-JIS bytes, NUL-terminated
  int32_t material;               // current material after the group's usemtl line
  int32_t first_position;         // position count when the group began
};

struct ObjFace {
  int32_t corner_count;    // 3 or more; a polygon of five or more is drawn as a fan
  uint16_t corners[4][3];  // 0-based position, texture-coordinate and normal index of the first four
};

// One corner of an accepted face; becomes exactly one mesh vertex.
struct ObjCorner {
  float position[3];
  float normal[3];
  float face_normal[3];
  float uv[2];  // mapped into the texture page
  uint32_t flags;
  int32_t face;           // index of its face
  int32_t corner_number;  // 1-based within its face
  int32_t group;          // group current when the face was read, -1 before any group
};

struct ObjModel {
  // Options, set by the caller after ResetObjModel.
  float page_width, page_height;
  int32_t smoothing_on;
  int32_t current_material;  // -1 while none is chosen
  int32_t invert_face_normals;

  float positions[kObjMaxPositions][3];
  float normals[kObjMaxNormals][3];
  float tex_coords[kObjMaxTexCoords][2];
  int32_t position_count, normal_count, tex_coord_count;

  ObjGroup groups[kObjMaxGroups];
  int32_t group_count;
  ObjFace faces[kObjMaxFaces];
  int32_t face_count;
  ObjMaterial materials[kObjMaxMaterials];
  int32_t material_count;
  ObjCorner corners[kObjMaxCorners];
  int32_t corner_count;
  uint16_t indices[kObjMaxIndices];
  int32_t index_count;

  int32_t flip_v;  // on after a reset
  int32_t flip_u;
  int32_t mirror_z;  // mirror positions and normals in Z, reverse the winding
  int32_t face_error_count;

  // Where messages go ("WARNING : ..." and "ERROR : ..." lines with CR LF);
  // none are kept when null. The text never grows past capacity - 1 units.
  std::u16string* message_text;
  uint32_t message_capacity;
  // The folder a relative texture folder in an MTL resolves against (the
  // script's folder, with its separator); null or empty: the MTL's folder.
  const std::u16string* base_folder;
  int32_t warning_count, error_count;
};

// The record is large (about 12 MB): allocate it with NewObjModel, which
// leaves untouched arrays unmapped, rather than on the stack.
struct ObjModelDeleter {
  void operator()(ObjModel* model) const;
};
using ObjModelPtr = std::unique_ptr<ObjModel, ObjModelDeleter>;
// A zero-filled, reset model; null when the memory is not available.
ObjModelPtr NewObjModel();

// Initial state: page 256 x 256, no material, flip V on, every other option
// off, all arrays empty, no messages or counts. The message target and the
// base folder are kept.
void ResetObjModel(ObjModel& model);

// Reads an OBJ file and the MTL files and texture headers it names.
// Returns kOk, kNoObjFile, kStopped, or kPageUnusable when the page size set
// by the caller is not positive.
ObjResult ReadObjFile(ObjModel& model, const std::u16string& obj_path);
// The same over bytes already in memory (fuzzers, benchmarks); `obj_path`
// gives the folder of the mtllib files and the name in messages.
ObjResult ReadObjBytes(ObjModel& model, const uint8_t* bytes, size_t size, const std::u16string& obj_path);

// Reads one MTL file into the material table: kOk or kNoMtlFile.
ObjResult ReadMtlFile(ObjModel& model, const std::u16string& mtl_path);

// Formats `format` as FormatText does and appends it with the prefix of
// `kind`, counting a warning or error. An empty text appends and counts
// nothing. Returns the number of units formatted.
int AppendModelMessageV(ObjModel& model, int kind, const char16_t* format, const FormatArg* args,
                        size_t count);
template <typename... Args>
int AppendModelMessage(ObjModel& model, int kind, const char16_t* format, const Args&... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
  return AppendModelMessageV(model, kind, format, list, sizeof...(Args));
}
