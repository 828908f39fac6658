// include, the data file's name and the failures of writing it.
#include <gtest/gtest.h>

#include "platform/fs.h"
#include "tests/test_util.h"

namespace {

int CountTag(const std::vector<uint8_t>& stream, uint32_t tag) {
  int n = 0;
  for (const TestRecord& r : SplitRecords(stream)) n += r.tag == tag;
  return n;
}

TEST(Include, NestsCompilesInPlaceAndStopsCycles) {
  std::u16string folder = MakeTempFolder();
  WriteTestFile(folder + u"inner.txt", "BeginSound\r\n");
  WriteTestFile(folder + u"outer.txt", "BeginSetting\r\ninclude inner.txt\r\nEndSetting\r\n");
  auto run = CompileScript("BeginHeader\ninclude outer.txt\nEndHeader\n", folder);
  EXPECT_EQ(run->result, 0u) << run->LogText();
  auto records = SplitRecords(run->Stream());
  ASSERT_GE(records.size(), 5u);
  EXPECT_EQ(records[0].tag, 0xF000u);
  EXPECT_EQ(records[1].tag, 0xF002u);
  EXPECT_EQ(records[2].tag, 0xF004u);
  EXPECT_EQ(records[3].tag, 0xF003u);
  EXPECT_EQ(records[4].tag, 0xF001u);

  // A missing include is noted but does not fail the compilation.
  run = CompileScript("include missing.txt\nBeginHeader\n", folder);
  EXPECT_EQ(run->result, 0u);
  EXPECT_NE(run->LogText().find("missing.txt"), std::string::npos);

  // A file that includes itself, directly or through another, is stopped.
  WriteTestFile(folder + u"self.txt", "BeginHeader\r\ninclude self.txt\r\n");
  run = CompileScript("include self.txt\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(CountTag(run->Stream(), 0xF000), 1);
  WriteTestFile(folder + u"a.txt", "include b.txt\r\n");
  WriteTestFile(folder + u"b.txt", "include A.TXT\r\n");
  run = CompileScript("include a.txt\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_NE(run->LogText().find("include"), std::string::npos);
  // The main script including itself is a cycle as well.
  run = CompileScript("include Test.txt\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
}

TEST(Include, LogLinesNameTheirFileAndLine) {
  std::u16string folder = MakeTempFolder();
  // Names in an included file resolve against the main script's folder.
  FsCreateDirectory(folder + u"sub");
  WriteTestFile(folder + u"sub/inc.txt", "BeginHeader\r\ninclude more.txt\r\n");
  WriteTestFile(folder + u"more.txt", "BadCommand\r\n");
  auto run = CompileScript("BeginHeader\ninclude sub/inc.txt\nAlsoBad\n", folder);
  std::vector<std::string> located;
  for (const LogEntry& e : run->log.entries) {
    if (e.source < 0) continue;
    const LogSource& s = run->log.sources[e.source];
    located.push_back(U8(s.file) + ":" + std::to_string(s.line));
  }
  ASSERT_EQ(located.size(), 2u);
  EXPECT_EQ(located[0], "more.txt:1");
  EXPECT_EQ(located[1], "Test.txt:3");
  // An included file is named by its path from the main script.
  WriteTestFile(folder + u"sub/inc.txt", "Bad\r\n");
  run = CompileScript("include sub/inc.txt\n", folder);
  ASSERT_EQ(run->log.sources.size(), 1u);
  EXPECT_EQ(U8(run->log.sources[0].file), "sub/inc.txt");
}

TEST(Include, NestingStopsAtItsLimitNamingTheInclude) {
  std::u16string folder = MakeTempFolder();
  // f1 includes f2 and so on: the main script and 64 files may be open.
  for (int k = 1; k <= 70; ++k)
    WriteTestFile(folder + U16("f" + std::to_string(k) + ".txt"),
                  "BeginHeader\r\ninclude f" + std::to_string(k + 1) + ".txt\r\n");
  auto run = CompileScript("include f1.txt\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(CountTag(run->Stream(), 0xF000), 64);
  EXPECT_NE(run->LogText().find("エラー：includeの入れ子が深すぎる [f65.txt]\r\n"), std::string::npos);
}

TEST(DataFileOutput, NameComesFromFolderSubpathAndScriptName) {
  std::u16string folder = MakeTempFolder();
  FsCreateDirectory(folder + u"out");
  auto run = CompileScript("出力パス \"out\\\"\nBeginHeader\n", folder);
  EXPECT_EQ(run->result, 0u) << run->LogText();
  // The name is shown and written with one kind of separator.
  EXPECT_EQ(run->compiler->written_file, folder + u"out" + FsSeparator() + u"Test.z5t");
  EXPECT_TRUE(FsFileExists(folder + u"out/Test.z5t"));
  // Without 出力パス the sub-path stays "test.z4t", glued to the name.
  run = CompileScript("BeginHeader\n", folder);
  EXPECT_TRUE(FsFileExists(folder + u"test.z4tTest.z5t"));
  // A container part gets .z5c and no texture block.
  run = CompileScript("コンテナ部品\nContainerInfoBegin\nContainerInfoEnd\n", folder);
  EXPECT_EQ(run->result, 0u);
  EXPECT_TRUE(FsFileExists(folder + u"test.z4tTest.z5c"));
  EXPECT_EQ(CountTag(run->Stream(), 0xF008), 0);
  auto records = SplitRecords(run->Stream());
  EXPECT_EQ(records.back().tag, 1u);
}

TEST(DataFileOutput, WriteFailureFailsTheCompilationAndKeepsTheOldFile) {
  std::u16string folder = MakeTempFolder();
  // The folder of the output sub-path does not exist: the write fails.
  auto run = CompileScript("出力パス nofolder/\nBeginHeader\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
  // The line after it gives the system's reason and says the script compiled.
  const std::string failed = "ERROR バイナリファイルが出力できない [" + U8(folder) + "nofolder" +
                             U8(std::u16string(1, FsSeparator())) + "Test.z5t]\r\n" +
                             "コンパイルは成功しましたが、書き込めませんでした：";
  const size_t at = run->LogText().find(failed);
  ASSERT_NE(at, std::string::npos) << run->LogText();
  EXPECT_NE(run->LogText()[at + failed.size()], '\r') << run->LogText();
  // A failed parse leaves an existing file as it was.
  WriteTestFile(folder + u"test.z4tTest.z5t", "old contents");
  run = CompileScript("BeginHeader\nBroken\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_EQ(ReadTestFile(folder + u"test.z4tTest.z5t"), "old contents");
  // A name past the path limit is a write error, not another file.
  run = CompileScript("出力パス " + std::string(300, 'x') + "\nBeginHeader\n", folder);
  EXPECT_EQ(run->result, 0x80004005u);
  EXPECT_NE(run->LogText().find("ERROR バイナリファイルが出力できない"), std::string::npos);
}

TEST(DataFileOutput, TextureBlockErrorsStillWriteTheFile) {
  std::u16string folder = MakeTempFolder();
  auto run = CompileScript("", folder);
  EXPECT_EQ(run->result, 0u);
  const std::string log = run->LogText();
  EXPECT_NE(log.find("テクスチャー出力に失敗\r\n"), std::string::npos);
  EXPECT_NE(log.find("字幕出力に失敗\r\n"), std::string::npos);
  auto records = SplitRecords(run->Stream());
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0].tag, 0xF008u);
  EXPECT_EQ(records[1].tag, 0x1400u);
  EXPECT_EQ(U32At(records[1].data, 0), 0u);  // no テクスチャーINFO: bit depth 0
  EXPECT_EQ(U32At(records[1].data, 10), 256u);
  EXPECT_EQ(records[2].tag, 0x1420u);
  EXPECT_EQ(U32At(records[2].data, 6), 128u);
  EXPECT_EQ(records[3].tag, 0xF009u);
  EXPECT_EQ(records[4].tag, 0x0001u);
  // A named texture that cannot be read gives the other message.
  run = CompileScript("PNGTEXMAIN nothere.png\n", folder);
  EXPECT_NE(run->LogText().find("テクスチャーファイルが生成されていない\r\n"), std::string::npos);
}

}  // namespace
