// The sample vehicle in examples/ must compile cleanly on every build. Run
// under Wine, this also shows that the Windows tests reach the source tree
// and can write and remove files in their scratch folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compiler/data_file.h"
#include "platform/fs.h"
#include "tests/test_util.h"

namespace {

// Every file the sample script names; all of them end up in the data file.
const char* const kAssets[] = {
    "警笛.wav", "brake.wav", "motor1.wav", "motor2.wav", "gap1.wav",     "gap2.wav",
    "vvvf.wav", "comp.wav",  "main.png",   "sign.png",   "sideview.png",
};

std::vector<std::string> ErrorLines(const LogBuffer& log) {
  std::vector<std::string> lines;
  for (const LogEntry& e : log.entries) {
    if (e.level == 0) lines.push_back(U8(log.text.substr(e.offset, e.length)));
  }
  return lines;
}

TEST(ExampleScript, CompilesWithoutProblemsAndEmbedsEveryAsset) {
  const std::u16string script = SourcePath("examples/Sample.txt");
  std::vector<uint8_t> text;
  ASSERT_TRUE(FsReadFile(script, text));

  auto compiler = std::make_unique<VehicleCompiler>();
  SetScriptPath(*compiler, script);
  // A Japanese name in the scratch folder: wide file names must work there too.
  const std::u16string output = MakeTempFolder() + u"サンプル.z5t";
  compiler->output_override = output;
  LogBuffer log;
  // The script names its files relative to its own folder.
  uint32_t result = Compile(*compiler, reinterpret_cast<char*>(text.data()), text.size(), log);

  EXPECT_EQ(result, kCompileOk);
  EXPECT_EQ(compiler->written_file, output);
  // The file-created line is the only one at error level.
  const std::vector<std::string> errors = ErrorLines(log);
  ASSERT_EQ(errors.size(), 1u) << U8(log.text);
  EXPECT_EQ(errors[0].rfind("バイナリファイルを作成しました", 0), 0u) << errors[0];

  uint64_t assets = 0;
  for (const char* name : kAssets) {
    uint64_t size = 0;
    ASSERT_TRUE(FsFileStat(SourcePath(std::string("examples/assets/") + name), &size, nullptr)) << name;
    EXPECT_GT(size, 0u);
    assets += size;
  }
  uint64_t written = 0;
  ASSERT_TRUE(FsFileStat(output, &written, nullptr));
  EXPECT_GT(written, assets + kDataFileHeaderBytes);

  EXPECT_TRUE(FsRemoveFile(output));
  EXPECT_FALSE(FsFileExists(output));
}

}  // namespace
