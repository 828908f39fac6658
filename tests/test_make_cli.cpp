// railwick make and railwick script as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "compiler/data_file.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"
#include "tests/test_util.h"

namespace {

using namespace testing_project;

void SetWorkshopVariable(const char* value) {
#ifdef _WIN32
  // The wide environment, as a shell hands a UTF-8 name to the program.
  const std::u16string setting = u"RAILWICK_WORKSHOP=" + Utf8ToUtf16(value ? value : "");
  _wputenv(std::wstring(setting.begin(), setting.end()).c_str());
#else
  if (value)
    setenv("RAILWICK_WORKSHOP", value, 1);
  else
    unsetenv("RAILWICK_WORKSHOP");
#endif
}

class MakeCli : public ::testing::Test {
 protected:
  // A project folder with its files, and the project file "p.xml".
  void SetUp() override {
    SetWorkshopVariable(nullptr);
    FsCreateDirectory(dir_ / u"assets");
    dir_.Write(u"assets/main.png", PngBytes(256, 256, 8, 2));
    dir_.Write(u"assets/side.png", PngBytes(200, 58, 8, 2));
    dir_.Write(u"assets/brake.wav", GoodWave());
    project_ = std::make_unique<VehicleProject>();
    project_->name.Set(u"KH-40");
    project_->series.Set(u"キハ40形");
    project_->outpath.Set(u"built");
    project_->maintex.Set(u"assets\\main.png");
    project_->sideview.Set(u"assets/side.png");
    project_->break_.Set(u"assets\\brake.wav");
    Save();
  }
  void TearDown() override { SetWorkshopVariable(nullptr); }
  void Save() { ASSERT_TRUE(WriteProjectFile(*project_, dir_ / u"p.xml")); }
  std::string ProjectArg() const { return U8(dir_ / u"p.xml"); }

  TempFolder dir_;
  std::unique_ptr<VehicleProject> project_;
};

TEST_F(MakeCli, MakesAFileThatVerifies) {
  TempFolder elsewhere;  // relative names in the project still mean its own folder
  ScopedCurrentFolder here(elsewhere.path());
  ResetProcessRandom();
  ToolRun run = RunTool({"make", ProjectArg(), "-o", "out/deep", "--workshop", "工房"});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.err, "");
  // Progress lines go to a terminal only; captured output stays clean.
  EXPECT_EQ(run.out.find("checking the project"), std::string::npos);
  const std::u16string data_file = elsewhere / u"out/deep/KH-40.z5t";
  std::u16string shown = data_file;
  std::replace(shown.begin(), shown.end(), u'/', FsSeparator());
  EXPECT_NE(run.out.find("data file: " + U8(shown) + "\n"), std::string::npos) << run.out;
  EXPECT_EQ(RunTool({"verify", U8(data_file)}).status, 0);
  EXPECT_EQ(dir_.List(), (std::vector<std::string>{"assets", "p.xml"}));  // no script left behind

  // The script command writes what make compiled: compiling it gives the same file.
  ToolRun script = RunTool({"script", ProjectArg(), "--workshop", "工房"});
  ASSERT_EQ(script.status, 0) << script.err;
  EXPECT_EQ(script.out, "script: " + U8(dir_ / u"KH-40.txt") + "\n");
  ResetProcessRandom();
  ASSERT_EQ(RunTool({"compile", U8(dir_ / u"KH-40.txt"), "-o", U8(elsewhere / u"again.z5t")}).status, 0);
  EXPECT_EQ(ReadTestFile(elsewhere / u"again.z5t"), ReadTestFile(data_file));
  // A script already there is never replaced without -o.
  ToolRun again = RunTool({"script", ProjectArg(), "--workshop", "工房"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists already"), std::string::npos);
  // Written elsewhere, the script names the project's files from there.
  FsCreateDirectory(elsewhere / u"sub");
  EXPECT_EQ(RunTool({"script", ProjectArg(), "--workshop", "工房", "-o", U8(elsewhere / u"sub/s.txt")}).status,
            0);
  ResetProcessRandom();
  ToolRun moved = RunTool({"compile", U8(elsewhere / u"sub/s.txt"), "-o", U8(elsewhere / u"moved.z5t")});
  ASSERT_EQ(moved.status, 0) << moved.out;
  EXPECT_EQ(ReadTestFile(elsewhere / u"moved.z5t"), ReadTestFile(data_file));
}

TEST_F(MakeCli, WorkshopNameComesFromTheOptionOrTheEnvironment) {
  ToolRun run = RunTool({"make", ProjectArg()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("RAILWICK_WORKSHOP"), std::string::npos);
  run = RunTool({"make", ProjectArg(), "--workshop", "Zek5"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "railwick: 検証: 工房名に使用できない名前が使われています。\n  別の名前を設定してください。\n");
  run = RunTool({"make", ProjectArg(), "--workshop", " lead"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("工房名が空欄または空白です。"), std::string::npos);
  run = RunTool({"make", ProjectArg(), "--workshop", std::string(64, 'w')});  // refused, not cut to 63
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("工房名が長すぎます。"), std::string::npos);

  SetWorkshopVariable("環境の工房");
  FsCreateDirectory(dir_ / u"built");
  run = RunTool({"make", ProjectArg()});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string file = ReadTestFile(dir_ / u"built/KH-40.z5t");
  std::vector<uint8_t> stream;
  std::string error;
  ASSERT_TRUE(OpenDataFile(std::vector<uint8_t>(file.begin(), file.end()), stream, error)) << error;
  std::string name_utf16le;
  for (char16_t c : std::u16string(u"環境の工房"))
    name_utf16le += {static_cast<char>(c), static_cast<char>(c >> 8)};
  EXPECT_NE(std::string(stream.begin(), stream.end()).find(name_utf16le), std::string::npos);
}

TEST_F(MakeCli, ProblemsStopBeforeAnythingIsWritten) {
  project_->series.Clear();
  Save();
  ToolRun run = RunTool({"make", ProjectArg(), "-o", U8(dir_ / u"out"), "--workshop", "W"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "railwick: 検証: 形式名が設定されていません。\n");
  EXPECT_EQ(dir_.List(), (std::vector<std::string>{"assets", "p.xml"}));

  // A project whose sound went missing is not made without it.
  project_->series.Set(u"S");
  project_->whistle.Set(u"assets\\whistle.wav");
  dir_.Write(u"assets/whistle.wav", GoodWave());
  Save();
  FsRemoveFile(dir_ / u"assets/whistle.wav");
  run = RunTool({"make", ProjectArg(), "--workshop", "W"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("警笛 (whistle, 読み込めません): assets\\whistle.wav"), std::string::npos)
      << run.err;

  run = RunTool({"make", U8(dir_ / u"none.xml"), "--workshop", "W"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot read"), std::string::npos);
  run = RunTool({"make", U8(dir_ / u"assets/main.png"), "--workshop", "W"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("is not a project file"), std::string::npos);
  EXPECT_EQ(RunTool({"make"}).status, 2);
  EXPECT_EQ(RunTool({"make", "a.xml", "b.xml"}).status, 2);
  EXPECT_EQ(RunTool({"script", "a.xml", "--bogus"}).status, 2);
  // The output folder of the project is not made for it: the compiler says so.
  project_->whistle.Clear();
  Save();
  run = RunTool({"make", ProjectArg(), "--workshop", "W"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("バイナリファイルが出力できない"), std::string::npos) << run.out;
  EXPECT_EQ(dir_.List(), (std::vector<std::string>{"assets", "p.xml"}));
}

// The sample as the program's file choosers fill it in (every path
// absolute), saved by the program, moved elsewhere and made by the tool:
// the saved file names its folder's files relative to it, and the moved
// folder makes the same data file.
TEST(MakeCliMovedFolder, MakesTheSameDataFile) {
  const std::u16string first = CopyExamples();
  const std::u16string first_folder = first.substr(0, first.size() - 1);
  std::string xml = ReadTestFile(first + u"sample.xml");
  const std::string sample = xml;
  for (const std::string from : {">models\\", ">assets\\", "<outpath>.<"}) {
    const std::string to = from[0] == '<' ? "<outpath>" + U8(first_folder) + "<" : ">" + U8(first) + from.substr(1);
    for (size_t at = xml.find(from); at != std::string::npos; at = xml.find(from, at + to.size()))
      xml.replace(at, from.size(), to);
  }
  ASSERT_EQ(xml.find(">models"), std::string::npos);
  WriteTestFile(first + u"absolute.xml", xml);
  ResetProcessRandom();
  ToolRun made = RunTool({"make", U8(first + u"absolute.xml"), "--workshop", "工房"});
  ASSERT_EQ(made.status, 0) << made.out << made.err;
  const std::string data = ReadTestFile(first + u"RW-101.z5t");
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(FsRemoveFile(first + u"RW-101.z5t"));

  auto p = std::make_unique<VehicleProject>();
  ASSERT_TRUE(ReadProjectFile(*p, first + u"absolute.xml"));
  ASSERT_TRUE(WriteProjectFile(*p, first + u"saved.xml"));
  // Compared without line ends and indents, which the sample writes its own way.
  auto bare = [](std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\t'; }), text.end());
    return text;
  };
  EXPECT_EQ(bare(ReadTestFile(first + u"saved.xml")), bare(sample));

  const std::u16string moved = MakeTempFolder() + u"moved";
  std::filesystem::rename(std::filesystem::path(first_folder), std::filesystem::path(moved));
  ResetProcessRandom();
  made = RunTool({"make", U8(moved + FsSeparator() + u"saved.xml"), "--workshop", "工房"});
  ASSERT_EQ(made.status, 0) << made.out << made.err;
  EXPECT_EQ(ReadTestFile(moved + FsSeparator() + u"RW-101.z5t"), data);
}

}  // namespace
