// A container part: its own script compiles into a .z5c without the
// texture block, with the model converted on the container's page.
#include <gtest/gtest.h>

#include "compiler/commands.h"
#include "compiler/data_file.h"
#include "compiler/preview_recording.h"
#include "platform/console.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

// Exit status of `railwick verify FILE`.
int Verify(const std::u16string& file) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  int status = RunCli({"railwick", "verify", U8(file)});
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  return status;
}

TEST(ContainerPart, ScriptCompilesIntoAContainerFile) {
  std::u16string folder = MakeTempFolder();
  WriteTriangleModel(folder, "box");
  WriteTestFile(folder + u"side.png", PngHeader(120, 40) + "rest of the image");
  auto run = CompileScript(
      "出力パス \"\"\nコンテナ部品\nContainerInfoBegin\nContainerName \"箱\"\nContainerType 3\n"
      "ContainerLength 24.5\nContainerGuide 案内\nContainerMaker 工房\nContainerSize 12\n"
      "ContainerSideview side.png\nContainerInfoEnd\nContainerModelBegin 128\nContainerOBJMain box.obj\n"
      "ContainerModelEnd\nContainerOBJAdd\n",
      folder);
  ASSERT_EQ(run->result, 0u) << run->LogText();
  EXPECT_TRUE(FsFileExists(folder + u"Test.z5c"));
  EXPECT_FALSE(FsFileExists(folder + u"Test.z5t"));

  const std::string side = PngHeader(120, 40) + "rest of the image";
  std::vector<uint8_t> expected;
  auto add = [&](const std::vector<uint8_t>& record) {
    expected.insert(expected.end(), record.begin(), record.end());
  };
  add(Bytes::Record(0x801000, Bytes()));
  add(Bytes::Record(0x801001, Bytes().Text(u"箱", 32)));
  add(Bytes::Record(0x801002, Bytes().U32(3)));
  add(Bytes::Record(0x801003, Bytes().F32(24.5f)));
  add(Bytes::Record(0x801005, Bytes().Text(u"案内", 64)));
  add(Bytes::Record(0x801006, Bytes().Text(u"工房", 16)));
  add(Bytes::Record(0x801007, Bytes().U32(12)));
  add(Bytes::Record(0x801020, Bytes()
                                  .U32(120)
                                  .U32(40)
                                  .U32(static_cast<uint32_t>(side.size()))
                                  .Raw(std::vector<uint8_t>(side.begin(), side.end()))));
  add(Bytes::Record(0x8010FF, Bytes()));
  add(Bytes::Record(0x801100, Bytes()));
  const std::vector<uint8_t> mesh = TriangleMesh();
  add(Bytes::Record(0x801102, Bytes().U32(static_cast<uint32_t>(mesh.size())).Raw(mesh)));
  add(Bytes::Record(0x0001, Bytes()));
  EXPECT_EQ(run->Stream(), expected);

  // The file holds the digest, the seed and exactly this stream.
  const std::string file = ReadTestFile(folder + u"Test.z5c");
  ASSERT_EQ(file.size(), expected.size() + 20);
  std::vector<uint8_t> stream;
  std::string error;
  ASSERT_TRUE(OpenDataFile(std::vector<uint8_t>(file.begin(), file.end()), stream, error)) << error;
  EXPECT_EQ(stream, expected);
  EXPECT_EQ(Verify(folder + u"Test.z5c"), 0);
  EXPECT_EQ(run->compiler->preview.container_model->vertex_count, 3u);
}

TEST(ContainerPart, ModelBeginSetsThePageOfTheContainerModel) {
  // A 64 x 64 TIM fixes the material's rectangle; the page comes from
  // ContainerModelBegin, so u = 64 / page.
  std::u16string folder = MakeTempFolder();
  Bytes tim;
  tim.U32(0x10).U32(3).U32(12 + 64 * 64 * 3).U16(0).U16(0).U16(96).U16(64);
  WriteTestFile(folder + u"c.tim",
                std::string(tim.data.begin(), tim.data.end()) + std::string(64 * 64 * 3, 0));
  WriteTestFile(folder + u"c.mtl", "newmtl m\nmap_Kd c.tim\n");
  WriteTestFile(folder + u"c.obj",
                "mtllib c.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\ng g\nusemtl m\n"
                "f 1/1 2/2 3/3\n");
  ScopedCurrentFolder here(folder);
  auto run = CompileScript(
      "コンテナ部品\nContainerModelBegin 256\nContainerOBJMain c.obj\nContainerModelBegin 128\n"
      "ContainerOBJMain c.obj\n",
      folder);
  ASSERT_EQ(run->result, 0u) << run->LogText();
  std::vector<TestRecord> meshes;
  for (const TestRecord& r : SplitRecords(run->Stream()))
    if (r.tag == 0x801102) meshes.push_back(r);
  ASSERT_EQ(meshes.size(), 2u);
  const size_t u_of_second = 4 + 16 + 32 + 24;
  EXPECT_EQ(F32At(meshes[0].data, u_of_second), 0.25f);
  EXPECT_EQ(F32At(meshes[1].data, u_of_second), 0.5f);
  EXPECT_EQ(run->compiler->main_texture.width, 128u);
}

TEST(ContainerPart, ModelEndReleasesTheContainerTexture) {
  RecordingPreviewFactory factory;
  VehicleCompiler c;
  LogBuffer log;
  c.log = &log;
  const std::string png = PngHeader(64, 64);
  c.preview.container_texture =
      factory.CreateTexture(reinterpret_cast<const uint8_t*>(png.data()), png.size());
  ASSERT_NE(c.preview.container_texture, nullptr);
  CmdContainerModelEnd(c, 0x8011FF);
  EXPECT_EQ(c.preview.container_texture, nullptr);
  EXPECT_EQ(factory.tally().LiveObjects(), 0);
  EXPECT_TRUE(c.stream.bytes.empty());
  EXPECT_TRUE(log.text.empty());
}

}  // namespace
