// What the program relies on in the shared Make-data run: its compiler makes
// the preview objects with the program's factory, and a failed compilation
// leaves the data file of the run before it as it was.
#include <gtest/gtest.h>

#include <memory>

#include "compiler/preview_recording.h"
#include "datamake/make_data.h"
#include "modelio/file_utils.h"
#include "test_project_helpers.h"
#include "tests/test_util.h"

namespace {

using namespace testing_project;

std::unique_ptr<VehicleProject> SmallVehicle(const TempFolder& dir) {
  dir.Write(u"main.png", PngBytes(256, 256, 8, 2));
  dir.Write(u"side.png", PngBytes(200, 58, 8, 3));
  dir.Write(u"sign.png", PngBytes(128, 128, 8, 6));
  dir.Write(u"brake.wav", GoodWave());
  auto p = std::make_unique<VehicleProject>();
  p->maker.Set(u"試験工房");
  p->name.Set(u"RW-7");
  p->series.Set(u"RW形");
  p->outpath.Set(u".");
  p->maintex.Set(u"main.png");
  p->sideview.Set(u"side.png");
  p->subtex.Set(u"sign.png");
  p->break_.Set(u"brake.wav");
  p->truck[0] = TruckEntry{1, -5, {}, {}};
  p->untendai[0] = CabEntry{1, -9, 1, 0};
  return p;
}

TEST(ProgramMakeData, UsesTheGivenFactoryAndKeepsTheOldFileOnFailure) {
  TempFolder dir;
  ScopedCurrentFolder here(dir.path());
  auto p = SmallVehicle(dir);
  RecordingNotifier n;
  RecordingPreviewFactory factory;
  MakeDataOptions options;
  options.preview_factory = &factory;

  MakeDataResult first = RunMakeData(*p, options, n, nullptr);
  ASSERT_EQ(first.result, kResultOk) << U8(first.log ? first.log->text : u"");
  ASSERT_TRUE(first.compiler);
  EXPECT_EQ(first.compiler->preview_factory, &factory);
  EXPECT_EQ(factory.tally().textures_made, 2);  // main and sign textures of the preview
  std::vector<uint8_t> made;
  ASSERT_TRUE(ReadWholeFile(dir / u"RW-7.z5t", made));

  // The whistle goes missing: the compiler fails, the script still goes,
  // and the data file made before stays byte for byte.
  p->whistle.Set(u"gone.wav");
  MakeDataResult second = RunMakeData(*p, options, n, nullptr);
  EXPECT_EQ(second.result, kResultFail);
  ASSERT_TRUE(second.compiler && second.log);
  EXPECT_NE(second.log->text.find(u"gone.wav"), std::u16string::npos);
  std::vector<uint8_t> after;
  ASSERT_TRUE(ReadWholeFile(dir / u"RW-7.z5t", after));
  EXPECT_EQ(after, made);
  EXPECT_FALSE(FsFileExists(dir / u"RW-7.txt"));
  EXPECT_TRUE(n.calls.empty());
}

}  // namespace
