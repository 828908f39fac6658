// Models in the narrow shape the reader always took (groups before
// materials, triangles and quads, names without blanks) give byte for byte
// the mesh files they gave before the reader learnt object lines, larger
// polygons and names with blanks: tests/data/models/legacy/digests.txt holds
// the digests the earlier reader's mesh files had.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "compiler/md5.h"
#include "modelio/mesh_file.h"
#include "modelio/obj_model.h"
#include "tests/test_util.h"

namespace {

struct Expected {
  std::string model, options;
  uint32_t result = 0;
  int errors = 0, warnings = 0;
  std::string md5;
};

std::vector<Expected> ReadDigests(const std::u16string& path) {
  std::istringstream in(ReadTestFile(path));
  std::vector<Expected> out;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Expected e;
    fields >> e.model >> e.options >> e.result >> e.errors >> e.warnings >> e.md5;
    out.push_back(e);
  }
  return out;
}

void SetOptions(ObjModel& m, const std::string& options) {
  if (options == "mirror") m.mirror_z = 1;
  if (options == "flipped") {
    m.flip_v = 0;
    m.flip_u = 1;
    m.invert_face_normals = 1;
  }
}

TEST(ObjLegacyCorpus, MeshFilesStayByteIdentical) {
  const std::u16string folder = SourcePath("tests/data/models/legacy/");
  const std::u16string scratch = MakeTempFolder();
  const std::vector<Expected> expected = ReadDigests(folder + u"digests.txt");
  ASSERT_EQ(expected.size(), 36u);  // twelve models, three option sets
  // The digests were taken with the models' folder as the working folder, so
  // textures were found as written; from elsewhere they are found beside
  // the library, which must give the same meshes.
  for (const std::u16string& working : {folder, scratch}) {
    ScopedCurrentFolder here(working);
    for (const Expected& e : expected) {
      SCOPED_TRACE(e.model + " " + e.options + (working == folder ? "" : ", from elsewhere"));
      ObjModelPtr model = NewObjModel();
      std::u16string messages;
      model->message_text = &messages;
      model->message_capacity = kObjMessageCapacity;
      SetOptions(*model, e.options);
      EXPECT_EQ(static_cast<uint32_t>(ReadObjFile(*model, folder + U16(e.model))), e.result);
      EXPECT_EQ(model->error_count, e.errors) << U8(messages);
      EXPECT_EQ(model->warning_count, e.warnings) << U8(messages);
      const std::u16string mesh_path = scratch + u"mesh.3dd";
      ASSERT_TRUE(WriteMeshFile(*model, mesh_path, 0.5f, nullptr, 1.0f, 0.0f));
      const std::string bytes = ReadTestFile(mesh_path);
      EXPECT_EQ(Md5Hex(Md5(bytes.data(), bytes.size())), e.md5);
    }
  }
}

}  // namespace
