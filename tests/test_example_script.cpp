// The sample vehicle in examples/ must compile cleanly on every build. Run
// under Wine, this also shows that the Windows tests reach the source tree
// and can write and remove files in their scratch folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compiler/vehicle_compiler.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"
#include "platform/sjis.h"

namespace {

std::u16string ExamplesFolder() {
  return Utf8ToUtf16(RAILWICK_SOURCE_DIR "/examples/");
}

// Every file the sample script names; all of them end up in the data file.
const char16_t* const kAssets[] = {
    u"警笛.wav", u"brake.wav", u"motor1.wav", u"motor2.wav", u"gap1.wav",     u"gap2.wav",
    u"vvvf.wav", u"comp.wav",  u"main.png",   u"sign.png",   u"sideview.png",
};

std::vector<std::string> ErrorLines(const LogBuffer& log) {
  std::vector<std::string> lines;
  for (const LogEntry& e : log.entries) {
    if (e.level == 0) lines.push_back(Utf16ToUtf8(log.text.substr(e.offset, e.length)));
  }
  return lines;
}

}  // namespace

TEST(ExampleScript, CompilesWithoutProblemsAndEmbedsEveryAsset) {
  const std::u16string script = ExamplesFolder() + u"Sample.txt";
  std::vector<uint8_t> text;
  ASSERT_TRUE(FsReadFile(script, text));

  auto compiler = std::make_unique<VehicleCompiler>();
  SetScriptPath(*compiler, script);
  // A Japanese name in the scratch folder: wide file names must work there too.
  const std::u16string output = FsTempDirectory() + u"サンプル.z5t";
  compiler->output_override = output;

  // The script names its files relative to its own folder, as `railwick compile` runs it.
  const std::u16string previous_folder = FsCurrentDirectory();
  ASSERT_TRUE(FsSetCurrentDirectory(compiler->script_folder));
  LogBuffer log;
  const uint32_t result = Compile(*compiler, reinterpret_cast<char*>(text.data()), text.size(), log);
  ASSERT_TRUE(FsSetCurrentDirectory(previous_folder));

  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(compiler->written_file, output);
  // The file-created line is the only one at error level.
  const std::vector<std::string> errors = ErrorLines(log);
  ASSERT_EQ(errors.size(), 1u) << Utf16ToUtf8(log.text);
  EXPECT_EQ(errors[0].rfind("バイナリファイルを作成しました", 0), 0u) << errors[0];

  uint64_t assets = 0;
  for (const char16_t* name : kAssets) {
    uint64_t size = 0;
    ASSERT_TRUE(FsFileStat(ExamplesFolder() + u"assets/" + name, &size, nullptr)) << Utf16ToUtf8(name);
    EXPECT_GT(size, 0u);
    assets += size;
  }
  uint64_t written = 0;
  ASSERT_TRUE(FsFileStat(output, &written, nullptr));
  EXPECT_GT(written, assets + 20);

  EXPECT_TRUE(FsRemoveFile(output));
  EXPECT_FALSE(FsFileExists(output));
  ResetCompiler(*compiler);
}
