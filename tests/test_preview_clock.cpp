// The scene clock, the frame-duration figures and the status line.
#include <gtest/gtest.h>

#include "preview/scene_clock.h"
#include "tests/test_util.h"

namespace {

TEST(SceneClock, StatusLineOfTheWorkedExample) {
  FrameDurations durations;
  // During the first second of scene time the extremes stay untouched.
  NoteFrameDuration(durations, 500, 1);
  NoteFrameDuration(durations, 1000, 50);
  EXPECT_EQ(durations.last, 50u);
  EXPECT_EQ(durations.minimum, 9999u);
  EXPECT_EQ(durations.maximum, 0u);
  EXPECT_EQ(U8(FormatStatusLine(0.0f, 1000, 0, durations)), " 0.00 FPS T00001000 D00 L50 9999 00");

  NoteFrameDuration(durations, 12000, 3);
  NoteFrameDuration(durations, 12100, 9);
  NoteFrameDuration(durations, 12200, 2);
  NoteFrameDuration(durations, 12345, 3);
  EXPECT_EQ(U8(FormatStatusLine(60.0f, 12345, 0, durations)), "60.00 FPS T00012345 D00 L03 02 09");
  EXPECT_EQ(U8(FormatStatusLine(123.456f, 99999999, 7, durations)), "123.46 FPS T99999999 D07 L03 02 09");
}

TEST(SceneClock, RealTimeFixedStepsAndPause) {
  SceneClock clock;
  StartSceneClock(clock, 50000);
  EXPECT_EQ(TickSceneClock(clock, 50000, false), 0u);
  EXPECT_EQ(TickSceneClock(clock, 51200, false), 1200u);
  // Screenshot key held: 33 ms per frame, whatever the real time.
  EXPECT_EQ(TickSceneClock(clock, 60000, true), 1233u);
  EXPECT_EQ(TickSceneClock(clock, 70000, true), 1266u);
  // Released: back to real time.
  EXPECT_EQ(TickSceneClock(clock, 52000, false), 2000u);

  // Minimised at 2,000 ms for a minute: the clock goes on from 2,000.
  PauseSceneClock(clock);
  EXPECT_EQ(TickSceneClock(clock, 112000, false), 2000u);
  EXPECT_EQ(TickSceneClock(clock, 112500, false), 2500u);
  // A second pause keeps adding up.
  PauseSceneClock(clock);
  EXPECT_EQ(TickSceneClock(clock, 200000, false), 2500u);
  EXPECT_EQ(TickSceneClock(clock, 200040, false), 2540u);
}

TEST(SceneClock, ClockWrapsWithTheSystemTimer) {
  SceneClock clock;
  StartSceneClock(clock, 0xFFFFFF00u);
  EXPECT_EQ(TickSceneClock(clock, 0x00000100u, false), 0x200u);
}

TEST(SceneClock, AnimationClockRestartsEvery65536Ms) {
  EXPECT_DOUBLE_EQ(AnimationClock(0), 0.0);
  EXPECT_DOUBLE_EQ(AnimationClock(12345), 123.45);
  EXPECT_DOUBLE_EQ(AnimationClock(65535), 655.35);
  EXPECT_DOUBLE_EQ(AnimationClock(65536), 0.0);
  EXPECT_DOUBLE_EQ(AnimationClock(65536 + 100), 1.0);
}

}  // namespace

// Frames at most at the display's rate: what is left of 1000 / Hz ms,
// rounded up (17 ms at 60 Hz).
TEST(SceneClock, FramePacingWaitsForTheRestOfTheRefreshPeriod) {
  const struct {
    uint32_t last, now, hz, wait;
  } cases[] = {
      {1000, 1000, 60, 17}, {1000, 1010, 60, 7}, {1000, 1016, 60, 1},     {1000, 1017, 60, 0},
      {1000, 1005, 0, 12},  {1000, 1005, 100, 5}, {1000, 990, 60, 0},     {0xFFFFFFFAu, 2, 60, 9},
      {0xFFFFFFF0u, 2, 60, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FramePacingWait(c.last, c.now, c.hz), c.wait) << c.last << " " << c.now;
}
