// Make data as the program runs it: validation first, then the compiler in
// memory, then the data file; and the files a project's data depends on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "compiler/data_file.h"
#include "compiler/preview_recording.h"
#include "datamake/make_data.h"
#include "datamake/make_data_report.h"
#include "datamake/referenced_files.h"
#include "datamake/validate.h"
#include "platform/files.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

struct RecordingProgress : MakeDataProgress {
  std::vector<MakeDataStep> steps;
  void Step(MakeDataStep step, const std::u16string&) override { steps.push_back(step); }
};

// A project without models whose files lie in its folder.
std::unique_ptr<VehicleProject> SmallVehicle(const TempFolder& dir) {
  dir.Write(u"main.png", InputFile("main_256x256_rgb.png"));
  dir.Write(u"side.png", InputFile("side_200x58_palette.png"));
  dir.Write(u"sign.png", InputFile("sign_128_rgba.png"));
  dir.Write(u"brake.wav", InputFile("good.wav"));
  auto p = std::make_unique<VehicleProject>();
  p->folder = dir.path();
  p->maker.Set(u"試験工房");
  p->name.Set(u"RW-1");
  p->series.Set(u"RW形");
  p->outpath.Set(u"out");
  p->maintex.Set(u"main.png");
  p->sideview.Set(u"side.png");
  p->subtex.Set(u"sign.png");
  p->brake.Set(u"brake.wav");
  p->truck[0] = TruckEntry{1, -5, {}, {}};
  p->untendai[0] = CabEntry{1, -9, 1, 0};
  return p;
}

bool Contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

TEST(MakeData, WritesTheDataFileFromTheProjectFolderAndNoScript) {
  TempFolder dir, elsewhere;
  ScopedCurrentFolder here(elsewhere.path());
  auto p = SmallVehicle(dir);
  p->name.Set(u"RW/1");  // made safe as a file name: RW_1.txt is the user's own
  dir.WriteText(u"RW_1.txt", "the user's own notes");
  RecordingNotifier n;
  RecordingProgress progress;
  RecordingPreviewFactory factory;
  MakeDataOptions options;
  options.create_output_folder = true;
  options.preview_factory = &factory;
  MakeDataResult run = RunMakeData(*p, options, n, &progress);
  ASSERT_TRUE(run.written) << U8(run.log ? run.log->text : u"");
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(progress.steps, (std::vector<MakeDataStep>{MakeDataStep::kValidate, MakeDataStep::kCompile,
                                                       MakeDataStep::kWriteDataFile}));
  ASSERT_TRUE(run.compiler && run.log);
  EXPECT_EQ(run.compiler->preview_factory, &factory);
  EXPECT_FALSE(run.compiler->on_model_conversion);  // the compiler outlives the progress it reported to
  EXPECT_EQ(factory.tally().textures_made, 2);  // main and sign textures of the preview
  // The only line at error level is the one naming the written file.
  for (const LogEntry& e : run.log->entries) {
    EXPECT_TRUE(e.level != 0 || run.log->text.compare(e.offset, 15, u"バイナリファイルを作成しました") == 0);
  }
  EXPECT_EQ(run.data_file, dir / (u"out" + std::u16string(1, FsSeparator()) + u"RW_1.z5t"));
  EXPECT_EQ(elsewhere.List(), std::vector<std::string>{});
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"RW_1.txt", "brake.wav", "main.png", "out", "side.png", "sign.png"}));
  EXPECT_EQ(ReadTestFile(dir / u"RW_1.txt"), "the user's own notes");  // no script written
  std::vector<uint8_t> file, stream;
  ASSERT_TRUE(ReadWholeFile(run.data_file, file));
  std::string error;
  ASSERT_TRUE(OpenDataFile(file, stream, error)) << error;
  EXPECT_TRUE(Contains(stream, InputFile("good.wav")) && Contains(stream, InputFile("side_200x58_palette.png")));

  // A failed compilation keeps its compiler and log, and the old data file.
  p->whistle.Set(u"gone.wav");  // the compiler, not validation, finds this one
  MakeDataResult second = RunMakeData(*p, options, n, nullptr);
  EXPECT_FALSE(second.written);
  ASSERT_TRUE(second.compiler && second.log);
  EXPECT_FALSE(second.compiled);
  EXPECT_EQ(second.log->text.rfind(u"=== 車輌コンパイル version 5.10 ===\r\n", 0), 0u);
  EXPECT_NE(second.log->text.find(u"gone.wav"), std::u16string::npos);
  std::vector<uint8_t> after;
  ASSERT_TRUE(ReadWholeFile(run.data_file, after));
  EXPECT_EQ(after, file);
  EXPECT_TRUE(n.calls.empty());
}

TEST(MakeData, FailuresBeforeCompilingLeaveNoFileBehind) {
  TempFolder dir;
  auto good = SmallVehicle(dir);
  const std::vector<std::string> before = dir.List();
  const std::pair<void (*)(VehicleProject&), const char16_t*> cases[] = {
      {[](VehicleProject& p) { p.maintex.Set(u"side.png"); }, u"メインテクスチャー：INDEX COLOR形式は非対応です。"},
      {[](VehicleProject& p) { p.truck[0].type = 9; }, u"台車の種類が対応していません。"},
      {[](VehicleProject& p) { p.guide.Set(u"two\nlines"); }, u"説明：スクリプトに書けない文字が含まれています。(U+000A)"},
      {[](VehicleProject& p) { p.folder.clear(); }, kSaveProjectFirstMessage},  // nowhere to resolve relative names
  };
  for (const auto& [breaks, message] : cases) {
    auto p = std::make_unique<VehicleProject>(*good);
    breaks(*p);
    RecordingNotifier n;
    MakeDataOptions options;
    options.create_output_folder = true;
    const MakeDataResult run = RunMakeData(*p, options, n, nullptr);
    EXPECT_TRUE(!run.written && !run.compiler);
    EXPECT_EQ(n.Only(), message);
    EXPECT_EQ(dir.List(), before) << U8(message);
  }
}

// The first check a project fails, with every later check failing too so
// that the order shows; the main texture's size comes back.
TEST(MakeData, ValidationNamesTheFirstProblem) {
  TempFolder dir;
  const struct {
    const char* main_texture;  // a file of tests/data/project/files, "-": none, "": missing
    void (*breaks)(VehicleProject&);
    const char16_t* message;
  } cases[] = {
      {"deep_300x200.png", [](VehicleProject& p) { p = VehicleProject(); }, u"形式番号が設定されていません。"},
      {"deep_300x200.png", [](VehicleProject& p) { p.outpath.Clear(); p.series.Clear(); }, u"出力パスが設定されていません。"},
      {"-", [](VehicleProject& p) { p.series.Clear(); }, u"形式名が設定されていません。"},
      {"-", [](VehicleProject& p) { p.zoom = 0; }, u"メインテクスチャーが設定されていません。"},
      {"", [](VehicleProject& p) { p.zoom = NAN; p.sideview.Clear(); }, u"OBJ拡大率が0以下です。"},
      {"", [](VehicleProject& p) { p.sideview.Clear(); }, u"形式画像が設定されていません。"},
      {"", [](VehicleProject&) {}, u"メインテクスチャー：設定されていません。"},
      {"empty", [](VehicleProject&) {}, u"メインテクスチャー：設定されていません。"},
      {"good.wav", [](VehicleProject&) {}, u"メインテクスチャー：PNG形式ではありません。"},
      {"cut_20.png", [](VehicleProject&) {}, u"メインテクスチャー：PNG形式ではありません。"},
      {"grey_256.png", [](VehicleProject&) {}, u"メインテクスチャー：INDEX COLOR形式は非対応です。"},
      {"palette_256.png", [](VehicleProject&) {}, u"メインテクスチャー：INDEX COLOR形式は非対応です。"},
      {"deep_300x200.png", [](VehicleProject& p) { p.zoom = -INFINITY; }, u"OBJ拡大率が0以下です。"},
      {"deep_300x200.png", [](VehicleProject& p) { p.zoom = -0.0f; }, u"OBJ拡大率が0以下です。"},
      {"deep_300x200.png", [](VehicleProject& p) { p.zoom = 1e-30f; }, u""},  // bit depth is the setter's business
  };
  for (const auto& c : cases) {
    VehicleProject p;
    p.name.Set(u"EF65");
    p.outpath.Set(u"out");
    p.series.Set(u"EF65形");
    p.sideview.Set(u"side.png");  // only its presence is checked here
    const std::string main = c.main_texture;
    if (main != "-") p.maintex.Set(main.empty() ? dir / u"none.png" : dir.Write(U16(main), InputFile(main)));
    c.breaks(p);
    RecordingNotifier n;
    MainTextureSize size;
    const bool valid = ValidateProject(p, n, &size);
    EXPECT_EQ(U8(valid ? u"" : n.Only()), U8(c.message));
    EXPECT_TRUE(!valid || (size.width == 300 && size.height == 200));
  }
}

// What the program's report window says when several problems stop Make
// data, and whether a data file was written.
TEST(MakeData, TheReportListsEveryProblemAsCheckPrintsIt) {
  const std::vector<ProjectProblem> problems = {{u"speed", u"a\nb"}, {u"", u"c"}, {u"link0", u"d", true}};
  EXPECT_EQ(ProblemsReport(problems),
            u"データ作成を中止しました。問題が2件あります。\r\n\r\nspeed: a b\r\nc\r\nlink0: warning: d\r\n");
  const std::vector<ProjectProblem> twelve(12, ProjectProblem{u"", u"x"});
  EXPECT_EQ(ProblemsReport(twelve).substr(0, 24), u"データ作成を中止しました。問題が12件あります。");
  EXPECT_EQ(DataFileOutcome(u""), u"データファイルは作成されていません。");
  EXPECT_EQ(DataFileOutcome(u"C:\\o\\A.z5t"), u"データファイルを作成しました：C:\\o\\A.z5t");
}

// Models bring their libraries (a name with blanks whole and word by word,
// a UTF-8 name as such) and the textures those name, found where the reader
// looks; "\\" names a folder too; missing files are listed.
TEST(ReferencedFiles, ModelsLibrariesAndTextures) {
  TempFolder dir;
  FsCreateDirectory(dir / u"m");
  dir.WriteText(u"m/a.obj", "# x\nmtllib one two.mtl\nv 0 0 0\nmtllib lib.mtl\nmtllib \xE8\xBB\x8A.mtl\n");
  dir.WriteText(u"m/lib.mtl", "newmtl x\nmap_Kd -s 1 1 1 t\\old wood.png\nMAP_KA  sky.png\nmap_\nbump b.png\n");
  VehicleProject p;
  p.folder = dir.path();
  p.modelA1.Set(u"m/a.obj");
  p.whistle.Set(u"s\\w.wav");
  p.tire[1].modelTire.Set(u"gone.obj");
  p.optionset[3].modelIRE.Set(dir / u"m/a.obj");  // the same model, named absolute
  const std::vector<std::u16string> listed = ReferencedFiles(p, dir / u"p.xml");
  std::vector<std::string> files;  // the names in ASCII; the UTF-8 library is looked for alone
  bool utf8_library = false;
  for (std::u16string f : listed) {
    std::replace(f.begin(), f.end(), u'\\', u'/');
    const std::string name = U8(f.substr(dir.path().size()));
    utf8_library |= name == "m/\xE8\xBB\x8A.mtl";
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) files.push_back(name);
  }
  EXPECT_TRUE(utf8_library);
  std::vector<std::string> expected = {"gone.obj", "m/a.obj", "m/lib.mtl", "m/one", "m/one two.mtl", "m/sky.png",
                                       "m/t/old wood.png", "m/two.mtl", "m/old wood.png", "p.xml", "sky.png",
                                       "t/old wood.png", "s/w.wav"};
  std::sort(files.begin(), files.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files, expected);
  p.folder.clear();  // a project read without its folder still lies beside its file
  EXPECT_EQ(ReferencedFiles(p, dir / u"p.xml").size(), listed.size());
}

}  // namespace
