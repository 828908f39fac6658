// The project file: tests/data/project/read/ holds files with the lines
// their project shows when written again; the rest here writes files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "project/project_commands.h"
#include "project/project_file.h"
#include "project/stored_paths.h"
#include "tests/test_model_commands_fixture.h"
#include "tests/test_project_full.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

TEST(ProjectFile, ReadCases) {
  const auto rows = CaseRows("project/read/expected.txt");
  for (const auto& row : rows) {
    const std::string& file = row[0];
    std::string expected = row[1];
    for (size_t i = 2; i < row.size(); ++i) expected += "\t" + row[i];
    for (size_t at = expected.find('\n'); expected[0] != '!' && at != std::string::npos; at = expected.find('\n', at + 2))
      expected.replace(at, 1, "\r\n");
    SCOPED_TRACE(file + " " + expected);
    auto p = FullProject();
    const std::string before = FormatProjectFile(*p);
    ProjectReadReport report;
    const bool read = ReadProjectFile(*p, SourcePath("tests/data/project/read/" + file), &report);
    if (expected == "not a project") {
      EXPECT_FALSE(read);
      EXPECT_TRUE(report.not_project);
      EXPECT_EQ(FormatProjectFile(*p), before);  // untouched
      EXPECT_EQ(p->maker.str(), u"レールウィック工房");
    } else if (expected[0] == '!') {
      std::string found;
      for (const ValueFinding& f : FindImpossibleValues(*p, &report))
        found += "! " + U8(f.key) + ": " + U8(f.message) + "\r\n";
      EXPECT_NE(found.find(expected), std::string::npos) << found;
      // And nothing the file's rows do not name.
      const auto named = std::count_if(rows.begin(), rows.end(), [&](auto& r) { return r[0] == file && r[1][0] == '!'; });
      EXPECT_EQ(CountOf(found, "! "), size_t(named)) << found;
    } else {
      ASSERT_TRUE(read);
      const std::string written = FormatProjectFile(*p);
      EXPECT_TRUE(written.find("\t" + expected + "\r\n") != std::string::npos ||
                  written.find("\n" + expected + "\r\n") != std::string::npos);
    }
  }
  EXPECT_GT(rows.size(), 50u);
  ProjectReadReport report;
  auto p = FullProject();
  EXPECT_FALSE(ReadProjectFile(*p, SourcePath("tests/data/project/read/missing.xml"), &report));
  EXPECT_TRUE(report.unreadable);
  EXPECT_EQ(p->name.str(), u"クハ481-1");
}

TEST(ProjectFile, EveryFieldSurvivesSaveAndReload) {
  const std::u16string dir = CopySourceFolder("tests/data/project/full", true);
  auto full = FullProject();
  ASSERT_TRUE(WriteProjectFile(*full, dir + u"saved.xml"));
  auto loaded = std::make_unique<VehicleProject>();
  loaded->maker = full->maker;
  ProjectReadReport report;
  ASSERT_TRUE(ReadProjectFile(*loaded, dir + u"saved.xml", &report));
  EXPECT_TRUE(report.dropped.empty());
  // Bogies, mounts and container places are packed together by the reader.
  auto expected = FullProject();
  std::swap(expected->truck[0].tirein[2], expected->truck[0].tirein[3]);
  std::swap(expected->truck[1], expected->truck[2]);
  std::swap(expected->container[1], expected->container[2]);
  EXPECT_EQ(FormatProjectFile(*loaded), FormatProjectFile(*expected));
  // The folder is the file's own; every other byte is what was saved.
  EXPECT_EQ(loaded->folder, dir);
  const auto* a = reinterpret_cast<const unsigned char*>(loaded.get());
  const auto* b = reinterpret_cast<const unsigned char*>(expected.get());
  const size_t folder_at = reinterpret_cast<const unsigned char*>(&loaded->folder) - a;
  size_t first = 0;
  while (first < sizeof(VehicleProject) &&
         (a[first] == b[first] || (first >= folder_at && first < folder_at + sizeof(std::u16string))))
    ++first;
  EXPECT_EQ(first, sizeof(VehicleProject));
}

TEST(ProjectFile, EntriesArePackedAndWheelsRenumbered) {
  auto p = std::make_unique<VehicleProject>();
  p->truck[2] = TruckEntry{1, 3, {}, {}};
  p->tire[1].modelTire.Set(u"w.obj");
  p->tire[1].TireRadius = 5;
  p->truck[2].tirein[1] = TireMount{2, 1, 2};  // the written wheel
  p->truck[2].tirein[2] = TireMount{1, 3, 4};  // the empty entry
  p->container[7] = ContainerSlot{3, 1, 1, 1};
  auto back = std::make_unique<VehicleProject>();
  ASSERT_TRUE(ReadProjectText(*back, U16(FormatProjectFile(*p))));
  // Mounts pack too, and still point at the same wheel.
  auto expected = std::make_unique<VehicleProject>();
  expected->truck[0] = TruckEntry{1, 3, {}, {TireMount{1, 1, 2}, TireMount{2, 3, 4}}};
  expected->tire[0] = p->tire[1];
  expected->container[0] = p->container[7];
  EXPECT_EQ(FormatProjectFile(*back), FormatProjectFile(*expected));
}

TEST(ProjectFile, PathsAreStoredForTheFileFolder) {
  for (const auto& row : CaseRows("project/stored_paths.txt")) {
    for (bool outpath : {false, true}) {
      if (row[3] == "." && !outpath) continue;
      auto p = std::make_unique<VehicleProject>();
      p->folder = row[0] == "-" ? u"" : U16(row[0]);
      (outpath ? p->outpath : p->optionset[3].modelIRE).Set(U16(row[1]));
      StorePathsFor(*p, U16(row[2]));
      EXPECT_EQ(U8((outpath ? p->outpath : p->optionset[3].modelIRE).str()), row[3]) << row[1];
      EXPECT_EQ(U8(p->folder), row[2]);
    }
  }
}

TEST(ProjectFile, AMissingImageOrSoundDropsOnlyItsKey) {
  const std::u16string dir = CopySourceFolder("tests/data/project/full", true);
  WriteTestFile(dir + u"snd/stereo.wav", ReadTestFile(SourcePath("tests/data/project/files/stereo.wav")));
  auto full = FullProject();
  full->maintex.Set(u"tex\\gone.png");
  full->motor2.Set(u"snd\\stereo.wav");
  ASSERT_TRUE(WriteProjectFile(*full, dir + u"p.xml"));
  auto p = std::make_unique<VehicleProject>();
  ProjectReadReport report;
  ASSERT_TRUE(ReadProjectFile(*p, dir + u"p.xml", &report));
  EXPECT_TRUE(p->maintex.empty());
  EXPECT_TRUE(p->motor2.empty());
  // Everything after those keys is still there.
  EXPECT_EQ(p->sideview.str(), u"tex\\side.png");
  EXPECT_EQ(p->gap1.str(), u"snd\\gap1.wav");
  EXPECT_EQ(p->container[1].type, 9);
  ASSERT_EQ(report.dropped.size(), 2u);
  EXPECT_EQ(report.dropped[0].why, FileCheck::kUnreadable);
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
  // A target that cannot be replaced: the failure is told and nothing changes.
  FsCreateDirectory(dir / u"folder.xml");
  EXPECT_FALSE(SaveProject(*p, dir / u"folder.xml", n));
  EXPECT_FALSE(SaveProject(*p, dir / u"no/such/folder.xml", n));
  ASSERT_EQ(n.calls.size(), 2u);
  EXPECT_EQ(n.calls[1].first, u"検証");
  EXPECT_EQ(n.calls[1].second, u"ファイルを保存できませんでした。\n" + (dir / u"no/such/folder.xml"));
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"folder.xml", "v.xml"}));  // no temporary file left
  // An old file whose name leaves no room for the temporary one beside it:
  // the write fails before the old file is touched.
  const std::u16string longest = dir / (std::u16string(248, u'n') + u".xml");
  std::ofstream(std::filesystem::path(longest), std::ios::binary) << "old";
  if (ReadTestFile(longest) != "old") GTEST_SKIP() << "this system refuses the long name itself";
  EXPECT_FALSE(SaveProject(*p, longest, n));
  EXPECT_EQ(ReadTestFile(longest), "old");
}

}  // namespace
