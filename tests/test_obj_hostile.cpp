// Damaged model files: whatever the bytes, the reader keeps its arrays
// consistent and the mesh it leads to has no index past its vertices and no
// NaN normal. (fuzz/fuzz_model_input.cpp runs the same checks unguided.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"

namespace {

const char kSeed[] =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\nvn 0 0 0\n"
    "g a\nusemtl x\ns 1\n"
    "f 1/1/1 2/2/1 3/3/2 4/4/1\n"
    "f -1/-1 -2/-2/-1 -3/-3\n"
    "f 1/1 5/1 1/2\n";

// The same in the shape of newer exporters: objects, larger polygons, names
// with blanks.
const char kModernSeed[] =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\nvn 0 0 0\n"
    "o Car Body\nusemtl x y\ns 1\n"
    "f 1/1/1 2/2/1 3/3/2 4/4/1 5/1/1 -2/-2\n"
    "o\nf -1/-1 -2/-2/-1 -3/-3 1/1 2/2\n"
    "f 1/1 5/1 1/2\n";

// Bytes a damaged file tends to hold where a digit or separator was.
const char kNoise[] = {'\0', '\n', '\r', '\x1E', ',',    '/',    '-',    '+',
                       '.',  'e',  '9',  ' ',    '\x81', '\xB1', '\x01', 'f'};

void ExpectConsistent(const ObjModel& m, ObjResult result) {
  EXPECT_TRUE(result == ObjResult::kOk || result == ObjResult::kStopped)
      << std::hex << static_cast<uint32_t>(result);
  ASSERT_LE(m.corner_count, kObjMaxCorners);
  ASSERT_LE(m.index_count, kObjMaxIndices);
  ASSERT_EQ(m.index_count % 3, 0);
  for (int32_t i = 0; i < m.index_count; ++i) ASSERT_LT(m.indices[i], m.corner_count);
  if (m.corner_count == 0) return;
  std::vector<MeshVertex> vertices(static_cast<size_t>(m.corner_count));
  std::vector<uint16_t> indices(static_cast<size_t>(m.index_count) + 1);
  ConvertObjModel(m, vertices.data(), indices.data(), 0.0f, 0.5f, nullptr, 1.0f);
  for (const MeshVertex& v : vertices)
    for (float n : v.normal) ASSERT_FALSE(std::isnan(n));
}

TEST(ObjHostile, MutatedFilesStayConsistent) {
  std::mt19937 random(12345);
  ObjModelPtr model = NewObjModel();
  for (int round = 0; round < 800; ++round) {
    const std::string seed = round < 400 ? kSeed : kModernSeed;
    std::string text = seed;
    int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits; ++e) {
      size_t at = random() % text.size();
      switch (random() % 4) {
        case 0:
          text[at] = kNoise[random() % sizeof kNoise];
          break;
        case 1:
          text.insert(at, 1, kNoise[random() % sizeof kNoise]);
          break;
        case 2:
          text.erase(at, 1 + random() % 4);
          break;
        default:
          text.resize(at);  // truncated
          break;
      }
      if (text.empty()) text = "f";
    }
    SCOPED_TRACE(text);
    ResetObjModel(*model);
    model->mirror_z = round & 1;
    ObjResult result =
        ReadObjBytes(*model, reinterpret_cast<const uint8_t*>(text.data()), text.size(), u"x.obj");
    ExpectConsistent(*model, result);
    if (HasFatalFailure()) return;
  }
}

TEST(ObjHostile, MutatedMeshFilesAreCheckedBeforeUse) {
  // Header {100, 0x112, 3, 3}, three vertices, indices 0 1 2.
  std::vector<uint8_t> good(16 + 3 * 32 + 6, 0);
  const uint32_t header[4] = {100, 0x112, 3, 3};
  std::memcpy(good.data(), header, 16);
  good[16 + 96 + 2] = 1;
  good[16 + 96 + 4] = 2;
  MeshData mesh;
  ASSERT_EQ(ParseMeshFile(good.data(), good.size(), mesh), MeshFileCheck::kOk);
  std::mt19937 random(777);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bytes = good;
    bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
    if (random() % 4 == 0) bytes.resize(random() % bytes.size());
    MeshFileCheck check = ParseMeshFile(bytes.data(), bytes.size(), mesh);
    if (check != MeshFileCheck::kOk) {
      EXPECT_TRUE(mesh.vertices.empty());
      continue;
    }
    ASSERT_EQ(bytes.size(), 16 + 32 * mesh.vertices.size() + 2 * mesh.indices.size());
    for (uint16_t index : mesh.indices) ASSERT_LT(index, mesh.vertices.size());
  }
}

}  // namespace
