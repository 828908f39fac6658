// Images and sounds as the project takes them: tests/data/project/files
// holds the files and, in expected.txt, what their check answers.
#include <gtest/gtest.h>

#include <map>

#include "modelio/file_utils.h"
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

TEST(ProjectFileChecks, SettersKeepTheOldPathWhenRefused) {
  TempFolder dir;
  const std::u16string main = dir.Write(u"a.png", InputFile("main_512x256_rgba.png"));
  const std::u16string tall = dir.Write(u"tall.png", InputFile("tall_256x512.png"));
  const std::u16string side = dir.Write(u"side.png", InputFile("side_200x58_palette.png"));
  const std::u16string wave = dir.Write(u"w.wav", InputFile("good.wav"));
  VehicleProject p;
  EXPECT_EQ(SetMainTexture(p, main), kResultOk);
  EXPECT_EQ(SetMainTexture(p, tall), kResultFail);
  EXPECT_EQ(SetMainTexture(p, dir / u"missing.png"), kResultFail);
  EXPECT_EQ(p.maintex.str(), main);
  EXPECT_EQ(SetSideView(p, side), kResultOk);
  EXPECT_EQ(SetSideView(p, main), kResultFail);
  EXPECT_EQ(p.sideview.str(), side);
  EXPECT_EQ(SetSubTexture(p, dir.Write(u"sign.png", InputFile("sign_128_rgb.png"))), kResultOk);
  EXPECT_EQ(SetSubTexture(p, u""), kResultOk);  // clears without reading anything
  EXPECT_TRUE(p.subtex.empty());

  const FileField& brake = kSoundFields[1];
  FileCheck why;
  EXPECT_EQ(SetFileField(p, brake, wave, &why), kResultOk);
  EXPECT_EQ(why, FileCheck::kOk);
  EXPECT_EQ(p.break_.str(), wave);
  EXPECT_EQ(SetFileField(p, brake, dir.Write(u"s.wav", InputFile("stereo.wav")), &why), kResultFail);
  EXPECT_EQ(why, FileCheck::kWrongFormat);
  EXPECT_EQ(SetFileField(p, brake, dir.Write(u"empty.wav", {}), &why), kResultFail);
  EXPECT_EQ(why, FileCheck::kUnreadable);
  EXPECT_EQ(SetFileField(p, brake, dir / u"none.wav", &why), kResultFail);
  EXPECT_EQ(why, FileCheck::kUnreadable);
  EXPECT_EQ(p.break_.str(), wave);
  EXPECT_EQ(SetFileField(p, brake, u"", &why), kResultOk);
  EXPECT_TRUE(p.break_.empty());
}

}  // namespace
