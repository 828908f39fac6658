// The scene clock, the frame-duration figures and the status line.
#include <gtest/gtest.h>

#include "preview/scene_clock.h"
#include "tests/test_util.h"

TEST(SceneClock, StatusLineOfTheWorkedExample) {
  FrameDurations durations;
  // During the first second of scene time the extremes stay untouched.
  NoteFrameDuration(durations, 500, 1);
  NoteFrameDuration(durations, 1000, 50);
  EXPECT_EQ(U8(FormatStatusLine(0.0f, 1000, 0, durations)), " 0.00 FPS T00001000 D00 L50 9999 00");
  for (uint32_t duration : {3, 9, 2, 3}) NoteFrameDuration(durations, 12000, duration);
  EXPECT_EQ(U8(FormatStatusLine(60.0f, 12345, 0, durations)), "60.00 FPS T00012345 D00 L03 02 09");
  EXPECT_EQ(U8(FormatStatusLine(123.456f, 99999999, 7, durations)), "123.46 FPS T99999999 D07 L03 02 09");
}

TEST(SceneClock, RealTimeFixedStepsPauseAndWrap) {
  SceneClock clock;
  StartSceneClock(clock, 50000);
  EXPECT_EQ(TickSceneClock(clock, 50000, false), 0u);
  EXPECT_EQ(TickSceneClock(clock, 51200, false), 1200u);
  // Screenshot key held: 33 ms per frame, whatever the real time.
  EXPECT_EQ(TickSceneClock(clock, 60000, true), 1233u);
  EXPECT_EQ(TickSceneClock(clock, 70000, true), 1266u);
  EXPECT_EQ(TickSceneClock(clock, 52000, false), 2000u);  // released: real time again
  // Minimised at 2,000 ms for a minute: the clock goes on from 2,000; a
  // second pause keeps adding up.
  PauseSceneClock(clock);
  EXPECT_EQ(TickSceneClock(clock, 112000, false), 2000u);
  EXPECT_EQ(TickSceneClock(clock, 112500, false), 2500u);
  PauseSceneClock(clock);
  EXPECT_EQ(TickSceneClock(clock, 200000, false), 2500u);
  EXPECT_EQ(TickSceneClock(clock, 200040, false), 2540u);
  // The system timer wraps.
  clock = SceneClock();
  StartSceneClock(clock, 0xFFFFFF00u);
  EXPECT_EQ(TickSceneClock(clock, 0x00000100u, false), 0x200u);
}
