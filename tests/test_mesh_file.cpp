// The mesh file: its bytes for small models worked out by hand or by
// tests/mesh_expected.py, the writer's failures, and the checks on reading.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "modelio/mesh_file.h"
#include "platform/fs.h"
#include "tests/test_obj_util.h"
#include "tests/test_util.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

const char kQuadObj[] =
    "mtllib m.mtl\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "g body\nusemtl mat\n"
    "f 1/1 2/2 3/3 4/4\n";

struct MeshFolder : ObjFolder {
  MeshFolder() {
    File("m.mtl", "newmtl mat\nmap_Kd tex.png\n");
    File("tex.png", PngBytes(256, 256));
  }
  std::vector<uint8_t> Convert(const std::string& obj, float scale, const float* offset = nullptr) {
    File("m.obj", obj);
    EXPECT_EQ(Read(), ObjResult::kOk) << Messages();
    EXPECT_TRUE(WriteMeshFile(*model, Path("m.3dd"), 28.0f * 0.017453292f, offset, scale, 0.0f));
    return Bytes(ReadTestFile(Path("m.3dd")));
  }
};

TEST(MeshFile, QuadWorkedOutByHand) {
  MeshFolder f;
  std::vector<uint8_t> file = f.Convert(kQuadObj, 2.0f);
  // Header {100, 0x112, 4, 6}; then per vertex position (scaled by 2),
  // normal (the face's, +Z) and u, v (V flipped); then the two triangles.
  // 1.0f is 00 00 80 3F and 2.0f is 00 00 00 40 in little-endian bytes.
  const std::vector<uint8_t> expected = {0x64, 0, 0, 0, 0x12, 0x01, 0, 0, 4, 0, 0, 0, 6, 0, 0, 0,
                                         // vertex 0: (0, 0, 0), (0, 0, 1), (0, 1)
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0x80, 0x3F,
                                         // vertex 1: (2, 0, 0), (0, 0, 1), (1, 1)
                                         0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0x80, 0x3F, 0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F,
                                         // vertex 2: (2, 2, 0), (0, 0, 1), (1, 0)
                                         0, 0, 0, 0x40, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, 0x80, 0x3F, 0, 0, 0x80, 0x3F, 0, 0, 0, 0,
                                         // vertex 3: (0, 2, 0), (0, 0, 1), (0, 0)
                                         0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0,
                                         // indices 0 1 2, 2 3 0
                                         0, 0, 1, 0, 2, 0, 2, 0, 3, 0, 0, 0};
  ASSERT_EQ(expected.size(), 156u);
  EXPECT_EQ(file, expected);
}

TEST(MeshFile, SmoothedMirroredScaledTriangleAsTheScriptWorksItOut) {
  MeshFolder f;
  f.File("tex.png", PngBytes(512, 256));
  f.model->mirror_z = 1;
  std::vector<uint8_t> file = f.Convert(
      "mtllib m.mtl\n"
      "v 0.1 0.2 0.3\nv 1.7 -0.4 0.9\nv -0.6 1.3 2.2\n"
      "vt 0.1 0.9\nvt 0.7 0.2\nvt 0.3 0.3\n"
      "vn 3 4 0\nvn 0.2 -0.5 0.8\n"
      "g tri\nusemtl mat\ns 1\nf 1/1/1 2/2/2 3/3\n",
      2.13334f);
  // python3 tests/mesh_expected.py
  const std::vector<uint8_t> expected = {
      0x64, 0x00, 0x00, 0x00, 0x12, 0x01, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x3A,
      0x74, 0x5A, 0x3E, 0x3A, 0x74, 0xDA, 0x3E, 0x2C, 0xD7, 0x23, 0xBF, 0x9A, 0x99, 0x19, 0x3F, 0xCD, 0xCC,
      0x4C, 0x3F, 0x00, 0x00, 0x00, 0x00, 0xCD, 0xCC, 0xCC, 0x3D, 0xD0, 0xCC, 0xCC, 0x3D, 0x7E, 0x1B, 0x68,
      0x40, 0x3A, 0x74, 0x5A, 0xBF, 0xC0, 0xC2, 0xF5, 0xBF, 0x22, 0x5E, 0x54, 0x3E, 0xD5, 0xBA, 0x04, 0xBF,
      0x22, 0x5E, 0x54, 0xBF, 0x33, 0x33, 0x33, 0x3F, 0xCD, 0xCC, 0x4C, 0x3F, 0x2C, 0xD7, 0xA3, 0xBF, 0x6E,
      0x7E, 0x31, 0x40, 0xE8, 0x2F, 0x96, 0xC0, 0x38, 0x79, 0xDF, 0x3E, 0x6C, 0xC8, 0x56, 0x3F, 0x14, 0x5D,
      0xA6, 0x3E, 0x9A, 0x99, 0x99, 0x3E, 0x33, 0x33, 0x33, 0x3F, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00};
  EXPECT_EQ(file, expected);
}

TEST(MeshFile, OffsetSmoothingOffAndNoNaN) {
  MeshFolder f;
  const float offset[3] = {10.0f, 20.0f, 30.0f};
  std::vector<uint8_t> file = f.Convert(
      "mtllib m.mtl\nv 1 2 3\nv 1 2 4\nv 1 3 3\nvt 0 0\nvn 1 0 0\nvn 0 0 0\ng a\nusemtl mat\n"
      "f 1/1/2 2/1/2 3/1/2\n"       // smoothing off: the face normal (-1, 0, 0) despite the given one
      "s 1\nf 1/1/2 2/1/2 3/1/1\n"  // a zero normal falls back to the face normal
      "f 1/1 1/1 1/1\n",            // no face normal either: a fixed unit normal
      2.0f, offset);
  MeshData mesh;
  ASSERT_EQ(ParseMeshFile(file.data(), file.size(), mesh), MeshFileCheck::kOk);
  ASSERT_EQ(mesh.vertices.size(), 9u);
  EXPECT_EQ(mesh.vertices[0].position[0], 12.0f);
  EXPECT_EQ(mesh.vertices[0].position[1], 24.0f);
  EXPECT_EQ(mesh.vertices[0].position[2], 36.0f);
  EXPECT_EQ(mesh.vertices[0].normal[0], -1.0f);
  EXPECT_EQ(mesh.vertices[3].normal[0], -1.0f);
  EXPECT_EQ(mesh.vertices[5].normal[0], 1.0f);  // smoothing on keeps the given normal
  EXPECT_EQ(mesh.vertices[6].normal[1], 1.0f);
  for (const MeshVertex& v : mesh.vertices)
    for (float n : v.normal) EXPECT_FALSE(std::isnan(n));
}

TEST(MeshFile, WithoutIndicesWithoutCornersAndUnwritable) {
  ObjModelPtr model = NewObjModel();
  std::u16string dir = MakeTempFolder();
  // No corners: nothing is written.
  EXPECT_FALSE(WriteMeshFile(*model, dir + u"a.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_FALSE(FsFileExists(dir + u"a.3dd"));
  // Corners without indices: the header and the vertices only.
  model->corner_count = 3;
  for (int i = 0; i < 3; ++i) model->corners[i].face_normal[1] = 1.0f;
  ASSERT_TRUE(WriteMeshFile(*model, dir + u"b.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  std::vector<uint8_t> file = Bytes(ReadTestFile(dir + u"b.3dd"));
  ASSERT_EQ(file.size(), 16u + 3 * 32);
  EXPECT_EQ(U32At(file, 8), 3u);
  EXPECT_EQ(U32At(file, 12), 0u);
  EXPECT_EQ(F32At(file, 16 + 16), 1.0f);
  // A folder in the way, or a folder that does not exist: failure, no file.
  FsCreateDirectory(dir + u"c.3dd");
  EXPECT_FALSE(WriteMeshFile(*model, dir + u"c.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_FALSE(WriteMeshFile(*model, dir + u"none/d.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_FALSE(FsFileExists(dir + u"none/d.3dd"));
}

TEST(MeshFile, PathBesideTheObj) {
  EXPECT_EQ(MeshFilePath(u"C:\\cars\\body.obj"), u"C:\\cars\\body.3dd");
  EXPECT_EQ(MeshFilePath(u"cars/a.b.OBJ"), u"cars/a.b.3dd");
  EXPECT_EQ(MeshFilePath(u"body"), u"body.3dd");
  std::u16string long_path(300, u'a');
  EXPECT_EQ(MeshFilePath(long_path + u".obj").size(), 259u);
}

TEST(MeshFile, LoadChecksHeaderCountsAndIndices) {
  MeshFolder f;
  std::vector<uint8_t> good = f.Convert(kQuadObj, 1.0f);
  MeshData mesh;
  ASSERT_EQ(LoadMeshFile(f.Path("m.3dd"), mesh), MeshFileCheck::kOk);
  EXPECT_EQ(mesh.header.vertex_count, 4u);
  ASSERT_EQ(mesh.indices.size(), 6u);
  EXPECT_EQ(mesh.indices[3], 2);
  EXPECT_EQ(std::memcmp(mesh.vertices.data(), good.data() + 16, 4 * 32), 0);

  auto check = [](std::vector<uint8_t> bytes) {
    MeshData m;
    MeshFileCheck c = ParseMeshFile(bytes.data(), bytes.size(), m);
    if (c != MeshFileCheck::kOk) {
      EXPECT_TRUE(m.vertices.empty() && m.indices.empty());
    }
    return c;
  };
  auto with_u32 = [&good](size_t offset, uint32_t value) {
    std::vector<uint8_t> b = good;
    std::memcpy(b.data() + offset, &value, 4);
    return b;
  };
  std::vector<uint8_t> b = good;
  EXPECT_EQ(check(std::vector<uint8_t>(good.begin(), good.begin() + 15)), MeshFileCheck::kTooShort);
  EXPECT_EQ(check(std::vector<uint8_t>(good.begin(), good.end() - 1)), MeshFileCheck::kSizeMismatch);
  b.push_back(0);
  EXPECT_EQ(check(b), MeshFileCheck::kSizeMismatch);
  EXPECT_EQ(check(with_u32(0, 101)), MeshFileCheck::kWrongFormatNumber);
  EXPECT_EQ(check(with_u32(4, 0x102)), MeshFileCheck::kWrongVertexFormat);
  EXPECT_EQ(check(with_u32(8, 0xFFFFFFFF)), MeshFileCheck::kSizeMismatch);
  EXPECT_EQ(check(with_u32(12, 0x80000000)), MeshFileCheck::kSizeMismatch);
  // 2^27 vertices of 32 bytes wrap a 32-bit size to 0: the counts must not.
  EXPECT_EQ(check(with_u32(8, 0x08000000)), MeshFileCheck::kSizeMismatch);
  b = good;
  b[16 + 4 * 32 + 2 * 4] = 4;  // the fifth index names vertex 4 of 4
  EXPECT_EQ(check(b), MeshFileCheck::kIndexOutOfRange);
  EXPECT_EQ(LoadMeshFile(f.Path("none.3dd"), mesh), MeshFileCheck::kUnreadable);
  EXPECT_STRNE(MeshFileCheckText(MeshFileCheck::kIndexOutOfRange), "");
}

}  // namespace

TEST(MeshFile, AnUnchangedFileIsLeftAloneAChangedOneRewritten) {
  ObjModelPtr model = NewObjModel();
  std::u16string dir = MakeTempFolder();
  model->corner_count = 3;
  for (int i = 0; i < 3; ++i) model->corners[i].face_normal[1] = 1.0f;
  const std::u16string path = dir + u"m.3dd";
  ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
  const std::string written = ReadTestFile(path);
  int64_t first = 0, again = 0;
  ASSERT_TRUE(FsFileStat(path, nullptr, &first));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // past the clock's step
  ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
  ASSERT_TRUE(FsFileStat(path, nullptr, &again));
  EXPECT_EQ(again, first);  // the same bytes: not written again
  EXPECT_EQ(ReadTestFile(path), written);
  // Other bytes of the same size, and a shorter file: both replaced.
  std::string damaged = written;
  damaged[20] ^= 0x40;
  WriteTestFile(path, damaged);
  ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_EQ(ReadTestFile(path), written);
  WriteTestFile(path, written.substr(0, 40));
  ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_EQ(ReadTestFile(path), written);
}
