// The compile command as a user runs it: exit statuses, file:line in front
// of the lines a script line produced, and files found beside the script.
#include <gtest/gtest.h>

#include "platform/console.h"
#include "platform/fs.h"
#include "tests/test_model_commands_fixture.h"

namespace {

ToolRun RunCompile(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"compile"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunTool(argv);
}

TEST(CliCompile, ExitStatusFollowsTheCompilation) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"ok.txt", Sjis("BeginHeader\r\n出力パス \"\"\r\n"));
  WriteTestFile(folder + u"bad.txt", Sjis("BeginHeader\r\n\r\nNoSuch 1\r\n"));
  ToolRun ok = RunCompile({U8(folder + u"ok.txt")});
  EXPECT_EQ(ok.status, 0) << ok.out;
  EXPECT_TRUE(FsFileExists(folder + u"ok.z5t"));
  // The texture block's lines come after the last script line: no prefix.
  EXPECT_NE(ok.out.find("\n字幕出力に失敗\n"), std::string::npos) << ok.out;

  ToolRun bad = RunCompile({U8(folder + u"bad.txt")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("bad.txt:3: エラー：未定義命令\n"), std::string::npos) << bad.out;

  EXPECT_EQ(RunCompile({U8(folder + u"missing.txt")}).status, 2);
  EXPECT_EQ(RunCompile({}).status, 2);
  EXPECT_EQ(RunCompile({"a.txt", "b.txt"}).status, 2);
}

TEST(CliCompile, FilesResolveBesideTheScriptAndOutputCanBeNamed) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"horn.wav", "RIFFxxxxWAVE");
  WriteTestFile(folder + u"s.txt", Sjis("音源警笛 horn.wav\r\n"));
  std::u16string out = MakeTempFolder() + u"named.z5t";
  ToolRun r = RunCompile({U8(folder + u"s.txt"), "-o", U8(out)});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(FsFileExists(out));
  EXPECT_EQ(r.out.find("waveファイル"), std::string::npos) << r.out;
}

TEST(CliCompile, OutputOntoAnyInputIsRefusedAndTheInputKept) {
  std::u16string folder = MakeTempFolder();
  WriteTriangleModel(folder, "m");
  WriteTestFile(folder + u"horn.wav", "RIFFxxxxWAVE");
  WriteTestFile(folder + u"inc.txt", Sjis("音源警笛 horn.wav\r\n"));
  WriteTestFile(folder + u"s.txt", Sjis("include inc.txt\r\n3D窓 m.obj\r\n"));
  ASSERT_EQ(RunCompile({U8(folder + u"s.txt"), "-o", U8(folder + u"fine.z5t")}).status, 0);
  for (const char* input : {"s.txt", "inc.txt", "m.obj", "m.mtl", "t.png", "horn.wav"}) {
    SCOPED_TRACE(input);
    const std::u16string target = folder + U16(input);
    const std::string before = ReadTestFile(target);
    ToolRun r = RunCompile({U8(folder + u"s.txt"), "-o", U8(target)});
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("エラー：出力先がコンパイルで読み込んだファイルのため、書き込みを中止しました"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(ReadTestFile(target), before);
  }
}

}  // namespace
