// The corner records of an OBJ model, built in one pass after its lines:
// the line loop keeps three indices a corner and a few values a face, and
// BuildObjCorners writes every corner record once, with its face normal.
#pragma once
#include <cstdint>

#include "modelio/obj_model.h"

// Indices fit 16 bits: every array holds at most 50,000 entries.
static_assert(kObjMaxPositions <= 0xFFFF && kObjMaxNormals < 0xFFFF && kObjMaxTexCoords <= 0xFFFF,
              "indices fit 16 bits");
constexpr uint16_t kNoNormalIndex = 0xFFFF;

// A corner as the line loop records it: 0-based indices, kNoNormalIndex
// when it gave no normal.
struct PendingCorner {
  uint16_t position, tex_coord, normal;
};

// Texture coordinates into the page: u' = u * RW / PW + L / PW (U flipped
// before), v' = v * RH / PH + T / PH (V flipped after); 0, 0 without a
// material. The offsets are the same for every corner of a face.
struct PageMapping {
  bool on = false, flip_u = false, flip_v = false;
  float width = 0, height = 0, page_width = 1, page_height = 1, left = 0, top = 0;

  PageMapping() = default;
  // The mapping of the model's current material and options.
  explicit PageMapping(const ObjModel& m);
  // One corner's texture coordinate `t` mapped into `uv`.
  void Map(const float* t, float* uv) const {
    if (!on) {
      uv[0] = uv[1] = 0.0f;
      return;
    }
    float u = flip_u ? 1.0f - t[0] : t[0];
    uv[0] = u * width / page_width + left;
    float v = t[1] * height / page_height + top;
    uv[1] = flip_v ? 1.0f - v : v;
  }
};

struct PendingFace {
  int32_t group;     // current when the face was read, -1 before any
  uint16_t mapping;  // into the reader's texture mappings
  bool smooth;       // smoothing was on
};

// Room for a whole model's pending faces and corners (and one corner more,
// which a store of eight bytes at the last may touch), per thread and
// reused; left uninitialised, as every entry is written before it is read.
struct PendingArrays {
  PendingFace* faces;
  PendingCorner* corners;
};
PendingArrays ThreadPendingArrays();

// Writes the records of corners first_corner... of faces first_face ... the
// model's face count, from `faces` and `corners` (indexed like the model's
// faces and corners) and the mappings the faces name. A corner keeps its own
// normal when smoothing was on and it gave one that is not zero; otherwise
// it takes the face normal. `mapping_count` says how many `mappings` there are.
void BuildObjCorners(ObjModel& model, int32_t first_face, int32_t first_corner, const PendingFace* faces,
                     const PendingCorner* corners, const PageMapping* mappings, int32_t mapping_count);
