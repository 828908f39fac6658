// The mesh file beyond the bytes of the case files: the writer's failures
// and its leaving an unchanged file alone, the path beside the model, and
// the checks on reading.
#include "modelio/mesh_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

// Three corners with the face normal (0, 1, 0) and no indices.
ObjModelPtr ThreeCorners() {
  ObjModelPtr model = NewObjModel();
  model->corner_count = 3;
  for (int i = 0; i < 3; ++i) model->corners[i].face_normal[1] = 1.0f;
  return model;
}

TEST(MeshFile, WithoutIndicesWithoutCornersAndUnwritable) {
  const std::u16string dir = MakeTempFolder();
  EXPECT_FALSE(WriteMeshFile(*NewObjModel(), dir + u"a.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_FALSE(FsFileExists(dir + u"a.3dd"));
  ObjModelPtr model = ThreeCorners();
  model->corner_count = 1;  // one corner is enough
  EXPECT_TRUE(WriteMeshFile(*model, dir + u"a.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  model->corner_count = 3;
  // Corners without indices: the header and the vertices only.
  ASSERT_TRUE(WriteMeshFile(*model, dir + u"b.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  const std::string file = ReadTestFile(dir + u"b.3dd");
  const std::vector<uint8_t> bytes(file.begin(), file.end());
  ASSERT_EQ(bytes.size(), 16u + 3 * 32);
  EXPECT_EQ(U32At(bytes, 8), 3u);
  EXPECT_EQ(U32At(bytes, 12), 0u);
  EXPECT_EQ(F32At(bytes, 16 + 16), 1.0f);
  // A folder in the way, or a folder that does not exist: failure, no file.
  FsCreateDirectory(dir + u"c.3dd");
  EXPECT_FALSE(WriteMeshFile(*model, dir + u"c.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_FALSE(WriteMeshFile(*model, dir + u"none/d.3dd", 0.0f, nullptr, 1.0f, 0.0f));
  EXPECT_FALSE(FsFileExists(dir + u"none/d.3dd"));
}

TEST(MeshFile, AnUnchangedFileIsLeftAloneAChangedOneRewritten) {
  ObjModelPtr model = ThreeCorners();
  const std::u16string path = MakeTempFolder() + u"m.3dd";
  ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
  const std::string written = ReadTestFile(path);
  int64_t first = 0, again = 0;
  ASSERT_TRUE(FsFileStat(path, nullptr, &first));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // past the clock's step
  ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
  ASSERT_TRUE(FsFileStat(path, nullptr, &again));
  EXPECT_EQ(again, first);  // the same bytes: not written again
  // Other bytes of the same size, and a shorter file: both replaced.
  std::string damaged = written;
  damaged[20] ^= 0x40;
  for (const std::string& before : {damaged, written.substr(0, 40)}) {
    WriteTestFile(path, before);
    ASSERT_TRUE(WriteMeshFile(*model, path, 0.0f, nullptr, 1.0f, 0.0f));
    EXPECT_EQ(ReadTestFile(path), written);
  }
}

TEST(MeshFile, PathBesideTheObj) {
  EXPECT_EQ(MeshFilePath(u"C:\\cars\\body.obj"), u"C:\\cars\\body.3dd");
  EXPECT_EQ(MeshFilePath(u"cars/a.b.OBJ"), u"cars/a.b.3dd");
  EXPECT_EQ(MeshFilePath(u"body"), u"body.3dd");
  EXPECT_EQ(MeshFilePath(std::u16string(300, u'a') + u".obj").size(), 259u);
}

TEST(MeshFile, LoadChecksHeaderCountsAndIndices) {
  const std::vector<uint8_t> good = TriangleMesh(2.0f);  // {100, 0x112, 3, 3}, indices 0 1 2
  const std::u16string path = MakeTempFolder() + u"m.3dd";
  WriteTestFile(path, std::string(good.begin(), good.end()));
  MeshData mesh;
  ASSERT_EQ(LoadMeshFile(path, mesh), MeshFileCheck::kOk);
  EXPECT_EQ(mesh.header.vertex_count, 3u);
  ASSERT_EQ(mesh.indices.size(), 3u);
  EXPECT_EQ(mesh.indices[2], 2);
  EXPECT_EQ(std::memcmp(mesh.vertices.data(), good.data() + 16, 3 * 32), 0);
  EXPECT_EQ(LoadMeshFile(path + u"x", mesh), MeshFileCheck::kUnreadable);
  EXPECT_STRNE(MeshFileCheckText(MeshFileCheck::kIndexOutOfRange), "");

  // Each damage, by the byte offset and the value (u32) written there; 2^27
  // vertices of 32 bytes wrap a 32-bit size to 0: the counts must not.
  const struct {
    size_t size;
    size_t offset;
    uint32_t value;
    MeshFileCheck check;
  } cases[] = {
      {15, 0, 100, MeshFileCheck::kTooShort},
      {good.size() - 1, 0, 100, MeshFileCheck::kSizeMismatch},
      {good.size() + 1, 0, 100, MeshFileCheck::kSizeMismatch},
      {good.size(), 0, 101, MeshFileCheck::kWrongFormatNumber},
      {good.size(), 4, 0x102, MeshFileCheck::kWrongVertexFormat},
      {good.size(), 8, 0xFFFFFFFF, MeshFileCheck::kSizeMismatch},
      {good.size(), 12, 0x80000000, MeshFileCheck::kSizeMismatch},
      {good.size(), 8, 0x08000000, MeshFileCheck::kSizeMismatch},
      {good.size(), 16 + 96 + 2, 3, MeshFileCheck::kIndexOutOfRange},  // the second index names vertex 3 of 3
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = good;
    bytes.resize(c.size);
    std::memcpy(bytes.data() + c.offset, &c.value, 4);
    MeshData m;
    EXPECT_EQ(ParseMeshFile(bytes.data(), bytes.size(), m), c.check) << c.offset << " " << c.value;
    EXPECT_TRUE(m.vertices.empty() && m.indices.empty());
  }
}

}  // namespace
