#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "compiler/data_file.h"
#include "compiler/preview_recording.h"
#include "datamake/make_data.h"
#include "platform/files.h"
#include "project/project_file.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

struct RecordingProgress : MakeDataProgress {
  std::vector<MakeDataStep> steps;
  void Step(MakeDataStep step, const std::u16string&) override { steps.push_back(step); }
};

// A project without models whose files lie in its folder.
std::unique_ptr<VehicleProject> SmallVehicle(const TempFolder& dir) {
  dir.Write(u"main.png", PngBytes(256, 256, 8, 2));
  dir.Write(u"side.png", PngBytes(200, 58, 8, 3));
  dir.Write(u"sign.png", PngBytes(128, 128, 8, 6));
  dir.Write(u"brake.wav", GoodWave());
  auto p = std::make_unique<VehicleProject>();
  p->folder = dir.path();
  p->maker.Set(u"試験工房");
  p->name.Set(u"RW-1");
  p->series.Set(u"RW形");
  p->outpath.Set(u"out");
  p->maintex.Set(u"main.png");
  p->sideview.Set(u"side.png");
  p->subtex.Set(u"sign.png");
  p->break_.Set(u"brake.wav");
  p->truck[0] = TruckEntry{1, -5, {}, {}};
  p->untendai[0] = CabEntry{1, -9, 1, 0};
  return p;
}

bool Contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}
std::vector<uint8_t> Utf16Le(const std::u16string& s) {
  std::vector<uint8_t> out;
  for (char16_t c : s) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

TEST(MakeData, WritesTheDataFileFromTheProjectFolderAndNoScript) {
  TempFolder dir, elsewhere;
  ScopedCurrentFolder here(elsewhere.path());
  auto p = SmallVehicle(dir);
  RecordingNotifier n;
  RecordingProgress progress;
  MakeDataOptions options;
  options.create_output_folder = true;
  MakeDataResult run = RunMakeData(*p, options, n, &progress);
  ASSERT_TRUE(run.written) << U8(run.log ? run.log->text : u"");
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(progress.steps, (std::vector<MakeDataStep>{MakeDataStep::kValidate, MakeDataStep::kCompile,
                                                       MakeDataStep::kWriteDataFile}));
  ASSERT_TRUE(run.compiler && run.log);
  // The only line at error level is the one naming the written file.
  for (const LogEntry& e : run.log->entries) {
    if (e.level != 0) continue;
    EXPECT_EQ(run.log->text.compare(e.offset, 15, u"バイナリファイルを作成しました"), 0) << U8(run.log->text);
  }
  EXPECT_EQ(run.data_file, dir / (u"out" + std::u16string(1, FsSeparator()) + u"RW-1.z5t"));
  EXPECT_EQ(elsewhere.List(), std::vector<std::string>{});
  // Only the data file is new: no script was written.
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"brake.wav", "main.png", "out", "side.png", "sign.png"}));
  std::vector<uint8_t> file, stream;
  ASSERT_TRUE(ReadWholeFile(dir / u"out/RW-1.z5t", file));
  std::string error;
  ASSERT_TRUE(OpenDataFile(file, stream, error)) << error;
  EXPECT_TRUE(Contains(stream, Utf16Le(u"RW-1")));
  EXPECT_TRUE(Contains(stream, Utf16Le(u"試験工房")));
  EXPECT_TRUE(Contains(stream, GoodWave()));
  EXPECT_TRUE(Contains(stream, PngBytes(200, 58, 8, 3)));
}

TEST(MakeData, FailuresBeforeCompilingLeaveNoFileBehind) {
  TempFolder dir;
  auto good = SmallVehicle(dir);
  const std::vector<std::string> before = dir.List();
  struct Case {
    void (*breaks)(VehicleProject&);
    const char16_t* message;
  };
  const Case cases[] = {
      {[](VehicleProject& p) { p.sideview.Clear(); }, u"形式画像が設定されていません。"},
      {[](VehicleProject& p) { p.maintex.Set(u"side.png"); },
       u"メインテクスチャー：INDEX COLOR形式は非対応です。"},
      {[](VehicleProject& p) { p.category = 3; }, u"カテゴリーが対応していません。"},
      {[](VehicleProject& p) { p.truck[0].type = 9; }, u"台車の種類が対応していません。"},
      {[](VehicleProject& p) { p.guide.Set(u"two\nlines"); },
       u"説明：スクリプトに書けない文字が含まれています。(U+000A)"},
  };
  for (const Case& c : cases) {
    auto p = std::make_unique<VehicleProject>(*good);
    c.breaks(*p);
    RecordingNotifier n;
    MakeDataOptions options;
    options.create_output_folder = true;
    MakeDataResult run = RunMakeData(*p, options, n, nullptr);
    EXPECT_FALSE(run.written);
    EXPECT_FALSE(run.compiler);
    EXPECT_EQ(n.Only(), c.message);
    EXPECT_EQ(dir.List(), before) << U8(c.message);
  }
}

TEST(MakeData, NeverTouchesAFileNamedLikeTheScriptAndNeedsAFolderForRelativePaths) {
  TempFolder dir;
  auto p = SmallVehicle(dir);
  p->name.Set(u"RW/2");  // made safe as a file name: RW_2.txt
  dir.WriteText(u"RW_2.txt", "the user's own notes");
  RecordingNotifier n;
  MakeDataOptions options;
  options.create_output_folder = true;
  EXPECT_TRUE(RunMakeData(*p, options, n, nullptr).written);
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(ReadTestFile(dir / u"RW_2.txt"), "the user's own notes");

  // Never saved: relative names have nowhere to resolve, so nothing is guessed.
  p->folder.clear();
  const std::vector<std::string> before = dir.List();
  EXPECT_FALSE(RunMakeData(*p, options, n, nullptr).written);
  EXPECT_EQ(n.Only(), kSaveProjectFirstMessage);
  EXPECT_EQ(dir.List(), before);
}

TEST(MakeData, AFailedCompilationKeepsTheCompilerAndItsLog) {
  TempFolder dir;
  auto p = SmallVehicle(dir);
  p->whistle.Set(u"gone.wav");  // the compiler, not validation, finds this one
  RecordingNotifier n;
  MakeDataResult run = RunMakeData(*p, MakeDataOptions(), n, nullptr);
  EXPECT_FALSE(run.written);
  EXPECT_TRUE(n.calls.empty());
  ASSERT_TRUE(run.compiler && run.log);
  EXPECT_FALSE(run.compiled);
  EXPECT_EQ(run.log->text.rfind(u"=== 車輌コンパイル version 5.10 ===\r\n", 0), 0u);
  EXPECT_NE(run.log->text.find(u"gone.wav"), std::u16string::npos);
  EXPECT_TRUE(run.data_file.empty());
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"brake.wav", "main.png", "side.png", "sign.png"}));
}

// What the program relies on: the run's compiler makes the preview objects
// with the program's factory, and a failed compilation leaves the data file
// of the run before it as it was.
TEST(MakeData, UsesTheGivenFactoryAndKeepsTheOldFileOnFailure) {
  TempFolder dir;
  auto p = SmallVehicle(dir);
  RecordingNotifier n;
  RecordingPreviewFactory factory;
  MakeDataOptions options;
  options.create_output_folder = true;
  options.preview_factory = &factory;

  MakeDataResult first = RunMakeData(*p, options, n, nullptr);
  ASSERT_TRUE(first.written);
  ASSERT_TRUE(first.compiler);
  EXPECT_EQ(first.compiler->preview_factory, &factory);
  EXPECT_EQ(factory.tally().textures_made, 2);  // main and sign textures of the preview
  std::vector<uint8_t> made;
  ASSERT_TRUE(ReadWholeFile(dir / u"out/RW-1.z5t", made));

  p->whistle.Set(u"gone.wav");
  MakeDataResult second = RunMakeData(*p, options, n, nullptr);
  EXPECT_FALSE(second.written);
  ASSERT_TRUE(second.compiler && second.log);
  std::vector<uint8_t> after;
  ASSERT_TRUE(ReadWholeFile(dir / u"out/RW-1.z5t", after));
  EXPECT_EQ(after, made);
  EXPECT_FALSE(FsFileExists(dir / u"RW-1.txt"));
  EXPECT_TRUE(n.calls.empty());
}

TEST(MakeData, TheSampleProjectMakesADataFileThatVerifies) {
  const std::u16string examples = SourcePath("examples/");
  if (!FsFileExists(examples + u"assets/main.png")) GTEST_SKIP() << "the example assets are not made";
  TempFolder out;
  ToolRun make =
      RunTool({"make", U8(examples + u"sample.xml"), "-o", U8(out.path()), "--workshop", "Railwick"});
  ASSERT_EQ(make.status, 0) << make.out << make.err;
  EXPECT_EQ(make.err, "");
  EXPECT_FALSE(FsFileExists(examples + u"RW-101.txt"));  // the script is gone again
  ToolRun verify = RunTool({"verify", U8(out / u"RW-101.z5t")});
  EXPECT_EQ(verify.status, 0) << verify.out << verify.err;
}

}  // namespace
