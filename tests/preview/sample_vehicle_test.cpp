// The sample vehicle in examples/models compiles with no line that reports
// a problem and fills every preview group it uses; so does its container part.
#include <gtest/gtest.h>

#include <map>

#include "compiler/preview_recording.h"
#include "platform/console.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

std::unique_ptr<VehicleCompiler> CompileSample(const char16_t* name, const char16_t* output,
                                               PreviewFactory* factory) {
  const std::u16string models = SourcePath("examples/models/");
  std::vector<uint8_t> script;
  EXPECT_TRUE(FsReadFile(models + name, script));
  auto compiler = std::make_unique<VehicleCompiler>();
  compiler->preview_factory = factory;
  compiler->output_override = MakeTempFolder() + output;
  SetScriptPath(*compiler, models + name);
  LogBuffer log;
  EXPECT_EQ(Compile(*compiler, reinterpret_cast<char*>(script.data()), script.size(), log), 0u);
  // Only the version line and the file-created line, logged at error level on purpose.
  EXPECT_EQ(log.entries.size(), 2u) << U8(log.text);
  if (log.entries.size() == 2) {
    EXPECT_EQ(log.entries[0].level, 1);
    EXPECT_EQ(U8(log.text.substr(log.entries[1].offset, log.entries[1].length)).rfind("バイナリファイルを作成しました", 0), 0u);
  }
  return compiler;
}

TEST(SampleVehicle, CompilesCleanlyAndFillsThePreview) {
  RecordingPreviewFactory factory;
  auto compiler = CompileSample(u"sample_models.txt", u"sample_models.z5t", &factory);
  EXPECT_EQ(compiler->error_mark, 0);
  std::map<uint32_t, int> tags;
  for (const TestRecord& r : SplitRecords(StreamBytes(compiler->stream))) ++tags[r.tag];
  for (const auto& [tag, count] : std::map<uint32_t, int>{
                      {0x1300, 1}, {0x1302, 1}, {0x1303, 1}, {0x1304, 1}, {0x1305, 1}, {0x1306, 1}, {0x1307, 1},
                      {0x1308, 1}, {0x1309, 1}, {0x130A, 1}, {0x130B, 1}, {0x130C, 3}, {0x130D, 1}, {0x1310, 2},
                      {0x1311, 1}, {0x1312, 2}, {0x1313, 4}, {0x1320, 1}, {0x1330, 1}, {0x1331, 1}, {0x1340, 2},
                      {0x1341, 2}, {0x1342, 1}, {0x1350, 1}, {0x1360, 1}, {0x1404, 1}, {0x1412, 1}})
    EXPECT_EQ(tags[tag], count) << std::hex << tag;
  const PreviewState& p = compiler->preview;
  EXPECT_EQ(p.bodies[0]->vertex_format, 0x212u);
  const uint32_t counts[] = {p.body_count,       p.roof_count,      p.head_mark_count,          p.pantograph_count,
                             p.head_light_count, p.tail_light_count, p.bogie_count,             p.bogies[1].wheel_count,
                             p.container_mesh_count, p.options[0].number, p.options[1].number, p.main_texture->width,
                             p.sign_texture->width, p.pantograph_states[0], uint32_t(p.bogies[1].frame_index)};
  EXPECT_EQ(std::vector<uint32_t>(std::begin(counts), std::end(counts)),
            (std::vector<uint32_t>{1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 2, 256, 128, 1, 1}));
  EXPECT_TRUE(p.option_shown[1]);
  EXPECT_NEAR(p.wheels[0].diameter, 5.7, 1e-12);
  // Every slot the script names holds a loaded mesh.
  uint32_t triangles = 0;
  for (const PreviewMesh* mesh :
       {p.bodies[0].get(), p.roofs[0].get(), p.window.get(), p.heated_window.get(), p.interior.get(),
        p.lit_sign.get(), p.side_sign.get(), p.side_sign2.get(), p.led_sign.get(), p.head_marks[0].get(),
        p.pantographs[0].first.get(), p.pantographs[0].second.get(), p.head_lights[0].get(),
        p.head_lights[1].get(), p.tail_lights[0].get(), p.tail_lights[1].get(), p.shunting_light.get(),
        p.options[0].parts[kOptionA].get(), p.options[0].parts[kOptionB].get(),
        p.options[0].parts[kOptionSign].get(), p.options[1].parts[kOptionB].get(), p.driving_wheels[0].get(),
        p.bogie_frames[0].get(), p.bogie_frames[1].get(), p.wheels[0].mesh.get(),
        p.container_meshes[0].mesh.get()}) {
    ASSERT_TRUE(mesh && mesh->loaded);
    triangles += mesh->index_count / 3;
  }
  EXPECT_EQ(factory.tally().LiveObjects(), 26 + 2);  // nothing else: the meshes and two textures
  EXPECT_TRUE(triangles > 1000 && triangles < 5000) << triangles;
  ResetCompiler(*compiler);
  EXPECT_EQ(factory.tally().LiveObjects(), 0);
}

TEST(SampleVehicle, ContainerPartCompilesCleanly) {
  auto compiler = CompileSample(u"container_part.txt", u"container_part.z5c", nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunCli({"railwick", "verify", U8(compiler->output_override)}), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_NE(compiler->preview.container_model, nullptr);
  ResetCompiler(*compiler);
}

}  // namespace
