#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "project/project_commands.h"
#include "project/project_file.h"
#include "project/stored_paths.h"
#include "tests/test_project_full.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

// The files the full project names, relative to the folder made current.
void WriteFullProjectFiles(const TempFolder& dir) {
  FsCreateDirectory(dir / u"tex");
  FsCreateDirectory(dir / u"snd");
  dir.Write(u"tex/main.png", PngBytes(512, 256, 8, 6));
  dir.Write(u"tex/side.png", PngBytes(200, 58, 8, 3));
  dir.Write(u"tex/sign.png", PngBytes(128, 128, 8, 2));
  for (const char16_t* name :
       {u"whistle", u"break", u"motor1", u"motor2", u"gap1", u"gap2", u"idle", u"vvvf", u"comp", u"power"})
    dir.Write(std::u16string(u"snd/") + name + u".wav", GoodWave());
}

const char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<zektrainsrc>\r\n";

// Reads a project text into a fresh project with a workshop name.
std::unique_ptr<VehicleProject> Load(const std::string& utf8, bool* result = nullptr,
                                     ProjectReadReport* report = nullptr) {
  auto p = std::make_unique<VehicleProject>();
  p->maker.Set(u"W");
  const bool r = ReadProjectText(*p, Utf8ToUtf16(utf8), report);
  if (result) *result = r;
  return p;
}

TEST(ProjectFile, ResetProjectMatchesTheHandWrittenFile) {
  auto p = std::make_unique<VehicleProject>();
  p->maker.Set(u"not written");
  const std::string expected = ReadTestFile(SourcePath("tests/data/project/reset_project.xml"));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(FormatProjectFile(*p), expected);
}

TEST(ProjectFile, EveryFieldSurvivesSaveAndReload) {
  TempFolder dir;
  WriteFullProjectFiles(dir);
  auto full = FullProject();
  ASSERT_TRUE(WriteProjectFile(*full, dir / u"full.xml"));

  auto loaded = std::make_unique<VehicleProject>();
  loaded->maker = full->maker;
  ProjectReadReport report;
  ASSERT_TRUE(ReadProjectFile(*loaded, dir / u"full.xml", &report));
  EXPECT_TRUE(report.dropped.empty());

  // Bogies, mounts and container places are packed together by the reader.
  auto expected = FullProject();
  expected->truck[0].tirein[2] = expected->truck[0].tirein[3];
  expected->truck[0].tirein[3] = TireMount();
  expected->truck[1] = expected->truck[2];
  expected->truck[2] = TruckEntry();
  expected->container[1] = expected->container[2];
  expected->container[2] = ContainerSlot();
  EXPECT_EQ(FormatProjectFile(*loaded), FormatProjectFile(*expected));
  // The folder is the file's own; every other byte is what was saved.
  EXPECT_EQ(loaded->folder, dir.path());
  const auto* a = reinterpret_cast<const unsigned char*>(loaded.get());
  const auto* b = reinterpret_cast<const unsigned char*>(expected.get());
  const size_t folder_at = reinterpret_cast<const unsigned char*>(&loaded->folder) - a;
  size_t first = 0;
  while (first < sizeof(VehicleProject) &&
         (a[first] == b[first] || (first >= folder_at && first < folder_at + sizeof(std::u16string))))
    ++first;
  EXPECT_EQ(first, sizeof(VehicleProject));
}

TEST(ProjectFile, EscapesAndCharactersOutsideTheBasicPlane) {
  auto p = std::make_unique<VehicleProject>();
  p->guide.Set(u"a&b<c>d\"e'f");
  p->name.Set(u"新幹線\U0001F685号");
  const std::string text = FormatProjectFile(*p);
  EXPECT_NE(text.find("\t<guide>a&amp;b&lt;c&gt;d&quot;e&apos;f</guide>\r\n"), std::string::npos);
  // One four-byte sequence, not two encoded halves.
  EXPECT_NE(text.find("\t<name>\xE6\x96\xB0\xE5\xB9\xB9\xE7\xB7\x9A\xF0\x9F\x9A\x85\xE5\x8F\xB7</name>"),
            std::string::npos);
  auto back = Load(text);
  EXPECT_EQ(back->guide.str(), u"a&b<c>d\"e'f");
  EXPECT_EQ(back->name.str(), u"新幹線\U0001F685号");
}

TEST(ProjectFile, LongPathsComeBackWhole) {
  auto p = std::make_unique<VehicleProject>();
  const std::u16string path200 = u"C:\\" + std::u16string(191, u'd') + u"\\a.obj";
  ASSERT_EQ(path200.size(), 200u);
  p->modelA1.Set(path200);
  p->optionset[3].modelIRE.Set(std::u16string(259, u'x'));
  p->outpath.Set(std::u16string(258, u'o') + u"\\");  // a separator only a reload removes
  auto back = Load(FormatProjectFile(*p));
  EXPECT_EQ(back->modelA1.str(), path200);
  EXPECT_EQ(back->optionset[3].modelIRE.str(), std::u16string(259, u'x'));
  EXPECT_EQ(back->outpath.str(), std::u16string(258, u'o'));
  // A text longer than any field is cut to its field.
  auto cut = Load(std::string(kHead) + "<infohead><sname>" + std::string(300, 's') +
                  "</sname><speed>77</speed>" + "</infohead></zektrainsrc>");
  EXPECT_EQ(cut->sname.str(), std::u16string(31, u's'));
  EXPECT_EQ(cut->speed, 77);
}

// A project file keeps the paths inside its folder relative to it, so the
// folder can travel, and every other path absolute.
TEST(ProjectFile, PathsAreStoredForTheFileFolder) {
  struct Case {
    const char16_t *project_folder, *path, *file_folder, *stored;
  };
  const Case cases[] = {
      {u"", u"/w/p/models/a.obj", u"/w/p/", u"models\\a.obj"},
      {u"", u"/W/P/./tex\\a.png", u"/w/p/", u"tex\\a.png"},  // letter case as Windows matches it
      {u"", u"/w/p/x/../a.obj", u"/w/p/", u"a.obj"},
      {u"", u"/w/other/a.obj", u"/w/p/", u"/w/other/a.obj"},
      {u"", u"/w/pp/a.obj", u"/w/p/", u"/w/pp/a.obj"},
      {u"", u"Q:\\x\\a.obj", u"/w/p/", u"Q:\\x\\a.obj"},
      {u"", u"models\\a.obj", u"/w/p/", u"models\\a.obj"},  // no folder to read it against
      {u"/w/p/", u"models\\a.obj", u"/w/q/", u"/w/p/models\\a.obj"},
      {u"/w/p/", u"sub/a.obj", u"/w/", u"p\\sub\\a.obj"},
      {u"/w/p/", u"..\\shared\\a.obj", u"/w/p/", u"/w/p/..\\shared\\a.obj"},
      {u"/w/p/", u"/w/p/a.obj", u"rel/", u"/w/p/a.obj"},  // a relative file folder changes nothing
      {u"/w/p/", u"", u"/w/q/", u""},
  };
  for (const Case& c : cases) {
    for (bool outpath : {false, true}) {
      auto p = std::make_unique<VehicleProject>();
      p->folder = c.project_folder;
      (outpath ? p->outpath : p->optionset[3].modelIRE).Set(c.path);
      StorePathsFor(*p, c.file_folder);
      EXPECT_EQ(U8((outpath ? p->outpath : p->optionset[3].modelIRE).str()), U8(c.stored)) << U8(c.path);
      EXPECT_EQ(p->folder, c.file_folder);
    }
  }
  // The output folder may be the project's own folder.
  auto p = std::make_unique<VehicleProject>();
  p->outpath.Set(u"/w/p");
  StorePathsFor(*p, u"/w/p/");
  EXPECT_EQ(p->outpath.str(), u".");
}

TEST(ProjectFile, EntriesArePackedAndWheelsRenumbered) {
  auto p = std::make_unique<VehicleProject>();
  p->truck[2].type = 1;
  p->truck[2].pos = 3;
  p->tire[1].modelTire.Set(u"w.obj");
  p->tire[1].TireRadius = 5;
  p->truck[2].tirein[1] = TireMount{2, 1, 2};  // the written wheel
  p->truck[2].tirein[2] = TireMount{1, 3, 4};  // the empty entry
  p->container[7] = ContainerSlot{3, 1, 1, 1};
  p->pantograph[2].modelUP.Set(u"u.obj");
  auto back = Load(FormatProjectFile(*p));
  EXPECT_EQ(back->truck[0].type, 1);
  EXPECT_EQ(back->truck[0].pos, 3.0f);
  EXPECT_EQ(back->truck[2].type, 0);
  EXPECT_EQ(back->tire[0].modelTire.str(), u"w.obj");
  EXPECT_TRUE(back->tire[1].modelTire.empty());
  // Mounts pack too, and still point at the same wheel.
  EXPECT_EQ(back->truck[0].tirein[0].tireID, 1);
  EXPECT_EQ(back->truck[0].tirein[0].tirePOSX, 1.0f);
  EXPECT_EQ(back->truck[0].tirein[1].tireID, 2);
  EXPECT_EQ(back->truck[0].tirein[1].tirePOSY, 4.0f);
  EXPECT_EQ(back->container[0].type, 3);
  EXPECT_EQ(back->pantograph[2].modelUP.str(), u"u.obj");  // all four are always written
}

TEST(ProjectFile, NumbersAreReadLeniently) {
  std::string text =
      std::string(kHead) +
      "<infohead>\r\n\t<speed>0</speed>\r\n\t<huriko>9</huriko>\r\n\t<downv>5</downv>\r\n"
      "\t<changelr>-3</changelr>\r\n\t<category>3</category>\r\n\t<teczoom>  +2abc</teczoom>\r\n"
      "\t<zoom>1e400</zoom>\r\n\t<link0>-2.5x</link0>\r\n\t<link1>abc</link1>\r\n"
      "\t<objsmt>99999999999</objsmt>\r\n</infohead>\r\n"
      "<infohead><speed>501</speed></infohead>\r\n"
      "<container>\r\n\t<posx>300</posx>\r\n</container>\r\n"
      "<container><type>0</type><posy>-1</posy><posz>60</posz></container>\r\n"
      "</zektrainsrc>\r\n";
  auto p = Load(text);
  EXPECT_EQ(p->speed, 120);
  EXPECT_EQ(p->huriko, 0);
  EXPECT_EQ(p->downv, 1);
  EXPECT_EQ(p->changelr, 1);
  EXPECT_EQ(p->category, 3);
  EXPECT_EQ(p->teczoom, 2);
  EXPECT_EQ(p->zoom, INFINITY);
  EXPECT_EQ(p->link0, -2.5f);
  EXPECT_EQ(p->link1, 0.0f);
  EXPECT_EQ(p->objsmt, 2147483647);
  EXPECT_EQ(p->container[0].type, 1);
  EXPECT_EQ(p->container[0].posx, 200.0f);
  EXPECT_EQ(p->container[0].posy, 0.0f);
  EXPECT_EQ(p->container[1].type, 0);
  EXPECT_EQ(p->container[1].posz, 50.0f);
  EXPECT_EQ(p->maker.str(), u"W");
}

TEST(ProjectFile, SectionsKeysAndLimits) {
  std::string text =
      std::string(kHead) + "<!-- made by hand -->\r\n<extra><name>X</name></extra>\r\n" +
      "<infohead><name>A</name><unknown>1</unknown><name>B</name><sname>s</sname></infohead>\r\n" +
      "<submodel><modelHM>1</modelHM><modelHM>2</modelHM><modelHM>3</modelHM>"
      "<modelHM>4</modelHM><modelHM>5</modelHM><modelM>m</modelM></submodel>\r\n" +
      "<submodel><modelHM>6</modelHM></submodel>\r\n";
  for (int i = 0; i < 5; ++i)
    text += "<optionset><start>1</start><modelA>" + std::to_string(i) + "</modelA></optionset>";
  for (int i = 0; i < 20; ++i) text += "<container><type>2</type></container>";
  for (int i = 0; i < 5; ++i)
    text +=
        "<truck><type>1</type><tirein><tireID>1</tireID></tirein><tirein><tireID>1</tireID></tirein>"
        "<tirein><tireID>1</tireID></tirein><tirein><tireID>2</tireID></tirein>"
        "<tirein><tireID>2</tireID></tirein></truck>";
  text += "<untendai2><active>1</active><posz>-4</posz></untendai2></zektrainsrc>";
  auto p = Load(text);
  EXPECT_EQ(p->name.str(), u"B");  // the later key wins; the unknown section is ignored
  EXPECT_EQ(p->sname.str(), u"s");
  EXPECT_EQ(p->modelHM[0].str(), u"6");
  EXPECT_EQ(p->modelHM[1].str(), u"2");
  EXPECT_EQ(p->modelHM[3].str(), u"4");
  EXPECT_EQ(p->modelM.str(), u"m");
  EXPECT_EQ(p->optionset[3].modelA.str(), u"3");
  EXPECT_EQ(p->container[15].type, 2);
  EXPECT_EQ(p->truck[2].type, 1);
  EXPECT_EQ(p->truck[2].tirein[3].tireID, 2);
  EXPECT_EQ(p->untendai[1].active, 1);
  EXPECT_EQ(p->untendai[1].posz, -4.0f);
  EXPECT_EQ(p->untendai[0].active, 0);
}

TEST(ProjectFile, FilesThatAreNotProjectsFailAndChangeNothing) {
  TempFolder dir;
  const std::string not_projects[] = {
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<other><infohead><name>X</name></infohead></other>",
      std::string(kHead) + "<infohead><name>X</name></infohead>",
      std::string(kHead) + "<infohead><name>X</name></zektrainsrc>",
      "",
  };
  for (const std::string& text : not_projects) {
    auto p = FullProject();
    const std::string before = FormatProjectFile(*p);
    ProjectReadReport report;
    EXPECT_FALSE(ReadProjectFile(*p, dir.WriteText(u"bad.xml", text), &report)) << text;
    EXPECT_TRUE(report.not_project);
    EXPECT_EQ(FormatProjectFile(*p), before);
  }
  auto p = FullProject();
  ProjectReadReport report;
  EXPECT_FALSE(ReadProjectFile(*p, dir / u"missing.xml", &report));
  EXPECT_TRUE(report.unreadable);
  EXPECT_EQ(p->name.str(), u"クハ481-1");
  // A byte-order mark and CR LF line ends are fine.
  auto fine =
      Load("\xEF\xBB\xBF" + std::string(kHead) + "<infohead><name>Y</name></infohead>\r\n</zektrainsrc>\r\n");
  EXPECT_EQ(fine->name.str(), u"Y");
}

// Files written by other tools and by hand: tests/data/project/lenient/
// lists each file with lines its project must show when written again.
TEST(ProjectFile, FilesFromOtherToolsRead) {
  std::istringstream table(ReadTestFile(SourcePath("tests/data/project/lenient/expected.txt")));
  std::string line;
  int cases = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    const std::string file = line.substr(0, tab), expected = line.substr(tab + 1);
    auto p = std::make_unique<VehicleProject>();
    ProjectReadReport report;
    const bool result = ReadProjectFile(*p, SourcePath("tests/data/project/lenient/" + file), &report);
    ++cases;
    if (expected == "not a project") {
      EXPECT_FALSE(result) << file;
      EXPECT_TRUE(report.not_project) << file;
      continue;
    }
    ASSERT_TRUE(result) << file;
    EXPECT_NE(FormatProjectFile(*p).find("\t" + expected + "\r\n"), std::string::npos) << file << ": " << expected;
  }
  EXPECT_EQ(cases, 17);
}

TEST(ProjectFile, AMissingImageOrSoundDropsOnlyItsKey) {
  TempFolder dir;
  WriteFullProjectFiles(dir);
  dir.Write(u"snd/stereo.wav", RiffWave({FmtChunk(2, 22050, 8), DataChunk(8)}));
  ScopedCurrentFolder here(dir.path());
  auto full = FullProject();
  full->maintex.Set(u"tex\\gone.png");
  full->motor2.Set(u"snd\\stereo.wav");
  ASSERT_TRUE(WriteProjectFile(*full, dir / u"p.xml"));

  auto p = std::make_unique<VehicleProject>();
  ProjectReadReport report;
  ASSERT_TRUE(ReadProjectFile(*p, dir / u"p.xml", &report));
  EXPECT_TRUE(p->maintex.empty());
  EXPECT_TRUE(p->motor2.empty());
  // Everything after those keys is still there.
  EXPECT_EQ(p->sideview.str(), u"tex\\side.png");
  EXPECT_EQ(p->modelI.str(), u"body\\inside.obj");
  EXPECT_EQ(p->gap1.str(), u"snd\\gap1.wav");
  EXPECT_EQ(p->container[1].type, 9);
  ASSERT_EQ(report.dropped.size(), 2u);
  EXPECT_EQ(std::u16string(report.dropped[0].field->key), u"maintex");
  EXPECT_EQ(report.dropped[0].path, u"tex\\gone.png");
  EXPECT_EQ(report.dropped[0].why, FileCheck::kUnreadable);
  EXPECT_EQ(std::u16string(report.dropped[1].field->key), u"motor2");
  EXPECT_EQ(report.dropped[1].why, FileCheck::kWrongFormat);
  EXPECT_EQ(DroppedFilesMessage(report.dropped),
            u"次のファイルは読み込めないか不適切なため、設定しませんでした。\n"
            u"メインテクスチャー (maintex, 読み込めません): tex\\gone.png\n"
            u"モーター2 (motor2, 形式が不適切です): snd\\stereo.wav");
}

TEST(ProjectFile, SaveReplacesTheOldFileOnlyWhenWritten) {
  TempFolder dir;
  auto p = FullProject();
  const std::u16string path = dir.WriteText(u"v.xml", "old");
  RecordingNotifier n;
  ASSERT_TRUE(SaveProject(*p, path, n));
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(ReadTestFile(path), FormatProjectFile(*p));
  EXPECT_EQ(dir.List(), std::vector<std::string>{"v.xml"});  // no temporary file left

  // A target that cannot be replaced: the failure is told and nothing changes.
  FsCreateDirectory(dir / u"folder.xml");
  EXPECT_FALSE(SaveProject(*p, dir / u"folder.xml", n));
  EXPECT_TRUE(FsIsDirectory(dir / u"folder.xml"));
  EXPECT_FALSE(SaveProject(*p, dir / u"no/such/folder.xml", n));
  ASSERT_EQ(n.calls.size(), 2u);
  EXPECT_EQ(n.calls[1].first, u"検証");
  EXPECT_EQ(n.calls[1].second, u"ファイルを保存できませんでした。\n" + (dir / u"no/such/folder.xml"));
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"folder.xml", "v.xml"}));

  // An old file whose name leaves no room for the temporary one beside it:
  // the write fails before the old file is touched.
  const std::u16string longest = dir / (std::u16string(248, u'n') + u".xml");
  std::ofstream(std::filesystem::path(longest), std::ios::binary) << "old";
  if (ReadTestFile(longest) != "old") GTEST_SKIP() << "this system refuses the long name itself";
  EXPECT_FALSE(SaveProject(*p, longest, n));
  EXPECT_EQ(ReadTestFile(longest), "old");
}

TEST(ProjectFile, SaveProposesTheTypeNumber) {
  auto p = std::make_unique<VehicleProject>();
  RecordingNotifier n;
  std::u16string current;
  EXPECT_FALSE(ProposeProjectPath(*p, current, n));
  EXPECT_EQ(n.Only(), u"形式番号が空欄です。\n形式番号は識別のため入力が必要です。");
  EXPECT_EQ(n.calls[0].first, u"検証");
  EXPECT_TRUE(current.empty());

  p->name.Set(u"EF65/1:\"x\"?");
  n.calls.clear();
  EXPECT_TRUE(ProposeProjectPath(*p, current, n));
  EXPECT_EQ(current, u"EF65_1__x__");
  // The proposal stays once made, even when the type number changes.
  p->name.Set(u"EF66");
  EXPECT_TRUE(ProposeProjectPath(*p, current, n));
  EXPECT_EQ(current, u"EF65_1__x__");
  EXPECT_TRUE(n.calls.empty());
}

TEST(ProjectFile, OpenKeepsProjectAndPathWhenReadingFails) {
  TempFolder dir;
  WriteFullProjectFiles(dir);
  ScopedCurrentFolder here(dir.path());
  auto p = FullProject();
  std::u16string current = u"earlier.xml";
  RecordingNotifier n;
  const std::u16string junk = dir.WriteText(u"junk.xml", "not xml at all");
  EXPECT_FALSE(OpenProject(*p, junk, current, n));
  EXPECT_EQ(current, u"earlier.xml");
  EXPECT_EQ(p->name.str(), u"クハ481-1");
  EXPECT_EQ(n.Only(), u"車両設定ファイルではありません。\n" + junk);
  n.calls.clear();
  EXPECT_FALSE(OpenProject(*p, dir / u"none.xml", current, n));
  EXPECT_EQ(n.Only(), u"ファイルを開けませんでした。\n" + (dir / u"none.xml"));

  auto other = FullProject();
  other->name.Set(u"other");
  other->whistle.Set(u"snd\\none.wav");
  ASSERT_TRUE(WriteProjectFile(*other, dir / u"other.xml"));
  n.calls.clear();
  EXPECT_TRUE(OpenProject(*p, dir / u"other.xml", current, n));
  EXPECT_EQ(current, dir / u"other.xml");
  EXPECT_EQ(p->name.str(), u"other");
  EXPECT_EQ(p->maker.str(), u"レールウィック工房");
  EXPECT_NE(n.Only().find(u"警笛 (whistle, 読み込めません): snd\\none.wav"), std::u16string::npos);
}

}  // namespace
