// The sample vehicle in examples/models compiles with no line that reports
// a problem and fills every preview group it uses; so does its container part.
#include <gtest/gtest.h>

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

// Which slot each model fills is the model-command cases' business; here
// the sample's own models: every one loads, with its two textures.
TEST(SampleVehicle, CompilesCleanlyAndFillsThePreview) {
  RecordingPreviewFactory factory;
  auto compiler = CompileSample(u"sample_models.txt", u"sample_models.z5t", &factory);
  EXPECT_EQ(compiler->error_mark, 0);
  EXPECT_EQ(factory.tally().LiveObjects(), 26 + 2);
  EXPECT_EQ(compiler->preview.bogies[1].wheel_count, 2u);
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
