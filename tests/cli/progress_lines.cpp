// The progress lines of make and watch: one line per step, models counted,
// nothing at all when they are not shown.
#include <gtest/gtest.h>

#include "cli/progress_lines.h"
#include "platform/fs.h"

TEST(ProgressLines, OneLinePerStepOnlyWhenShown) {
  for (bool shown : {true, false}) {
    ProgressLines progress(shown);
    testing::internal::CaptureStderr();
    progress.Step(MakeDataStep::kValidate, u"");
    progress.Step(MakeDataStep::kCompile, u"");
    progress.Step(MakeDataStep::kConvertModel, u"models\\body.obj");
    progress.Step(MakeDataStep::kConvertModel, u"車輪.obj");
    progress.Step(MakeDataStep::kWriteDataFile, u"RW-101.z5t");
    // Paths are shown with this system's separator.
    const std::string body = "models" + std::string(1, char(FsSeparator())) + "body.obj";
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              shown ? "checking the project\ncompiling\n  model 1: " + body + "\n  model 2: 車輪.obj\nwrote RW-101.z5t\n" : "");
  }
}
