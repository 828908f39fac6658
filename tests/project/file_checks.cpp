// Images and sounds as the project takes them: tests/data/project/files
// holds the files and, in expected.txt, what their check answers.
#include <gtest/gtest.h>

#include <map>

#include "project/file_checks.h"
#include "tests/test_project_helpers.h"

namespace {

using namespace testing_project;

TEST(ProjectFileChecks, Cases) {
  const std::map<std::string, FileKind> kinds = {{"main", FileKind::kMainTexture}, {"sub", FileKind::kSubTexture},
                                                 {"side", FileKind::kSideView}, {"wave", FileKind::kWave}};
  const auto rows = CaseRows("project/files/expected.txt");
  for (const auto& row : rows)
    EXPECT_EQ(CheckFileData(kinds.at(row[1]), InputFile(row[0])),
              row[2] == "ok" ? FileCheck::kOk : FileCheck::kWrongFormat) << row[0] << " " << row[1];
  EXPECT_GT(rows.size(), 30u);
  // Every truncation of a sound fails cleanly, even inside the samples (the
  // sanitizers watch the reads).
  const std::vector<uint8_t> good = InputFile("good.wav");
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_EQ(CheckFileData(FileKind::kWave, std::vector<uint8_t>(good.begin(), good.begin() + long(n))),
              FileCheck::kWrongFormat) << n;
}

// The dialogs' cases show refusals keeping the old value; here why, and
// that an empty path clears without reading anything.
TEST(ProjectFileChecks, SettersSayWhyTheyRefuse) {
  TempFolder dir;
  const std::u16string main = dir.Write(u"a.png", InputFile("main_512x256_rgba.png"));
  VehicleProject p;
  EXPECT_TRUE(SetMainTexture(p, main));
  EXPECT_FALSE(SetMainTexture(p, dir / u"missing.png"));
  EXPECT_FALSE(SetSideView(p, main));
  EXPECT_EQ(p.maintex.str() + p.sideview.str(), main);
  const std::pair<std::u16string, FileCheck> sounds[] = {
      {dir.Write(u"w.wav", InputFile("good.wav")), FileCheck::kOk},
      {dir.Write(u"s.wav", InputFile("stereo.wav")), FileCheck::kWrongFormat},
      {dir.Write(u"empty.wav", {}), FileCheck::kUnreadable},
      {dir / u"none.wav", FileCheck::kUnreadable},
      {u"", FileCheck::kOk}};
  for (const auto& [path, expected] : sounds) {
    FileCheck why = FileCheck(-1);
    EXPECT_EQ(SetFileField(p, kSoundFields[1], path, &why), expected == FileCheck::kOk);
    EXPECT_EQ(why, expected) << U8(path);
    EXPECT_EQ(p.brake.str(), path.empty() ? u"" : dir / u"w.wav");
  }
}

}  // namespace
