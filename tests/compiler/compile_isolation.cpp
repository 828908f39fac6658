// Compilations that share model files run side by side without seeing each
// other's meshes.
#include <gtest/gtest.h>

#include <thread>

#include "compiler/preview_recording.h"
#include "tests/test_model_commands_fixture.h"

namespace {

// A script converting the shared triangle many times at `scale`.
std::string ShareScript(const std::string& scale) {
  std::string script = "拡大補正 " + scale + "\n";
  for (int i = 0; i < 200; ++i) script += "3D窓 shared.obj\n";
  return script;
}

TEST(CompileIsolation, TwoCompilationsSharingAModelEmbedTheirOwnMeshes) {
  const std::u16string folder = MakeTempFolder();
  WriteTriangleModel(folder, "shared");
  const std::string scripts[2] = {ShareScript("1"), ShareScript("2")};
  std::vector<uint8_t> alone[2];
  for (int k = 0; k < 2; ++k) alone[k] = CompileScript(scripts[k], folder)->Stream();
  ASSERT_NE(alone[0], alone[1]);

  std::unique_ptr<CompileRun> together[2];
  RecordingPreviewFactory factories[2];
  std::thread threads[2];
  for (int k = 0; k < 2; ++k)
    threads[k] = std::thread([&, k] {
      together[k] = std::make_unique<CompileRun>();
      together[k]->compiler->preview_factory = &factories[k];
      SetScriptPath(*together[k]->compiler, folder + U16("Test" + std::to_string(k) + ".txt"));
      std::string text = Sjis(scripts[k]);
      together[k]->result = Compile(*together[k]->compiler, text.data(), text.size(), together[k]->log);
    });
  for (std::thread& t : threads) t.join();
  for (int k = 0; k < 2; ++k) EXPECT_TRUE(together[k]->Stream() == alone[k]) << "script " << k;
}

}  // namespace
