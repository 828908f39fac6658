// The preview's millisecond clock, the frame-duration figures and the
// status line that shows them.
#pragma once
#include <cstdint>
#include <string>

// While the screenshot key is held the clock steps this much per frame, so
// a run of screenshots shows even steps.
constexpr uint32_t kScreenshotFrameStepMs = 33;
// Durations are noted only after the first second of scene time, when the
// start-up frames are over.
constexpr uint32_t kStatisticsSettleMs = 1000;

struct SceneClock {
  uint32_t value = 0;          // ms of scene time
  uint32_t start_time = 0;     // system ms at the start (or the last resume)
  uint32_t resume_offset = 0;  // scene time reached before the last pause
  bool paused = false;
};

void StartSceneClock(SceneClock& clock, uint32_t now);
// The clock of the next frame: a fixed step while the screenshot key is
// held, else real time since the start plus what ran before a pause.
uint32_t TickSceneClock(SceneClock& clock, uint32_t now, bool fixed_step);
// While the window is minimised the clock stands; it goes on from the same
// value at the next tick.
void PauseSceneClock(SceneClock& clock);

struct FrameDurations {
  uint32_t last = 0;
  uint32_t minimum = 9999;
  uint32_t maximum = 0;
};

void NoteFrameDuration(FrameDurations& durations, uint32_t scene_clock, uint32_t duration);

// "%5.2f FPS T%08d D%02d L%02d %02d %02d".
std::u16string FormatStatusLine(float frames_per_second, uint32_t scene_clock, uint32_t draw_counter,
                                const FrameDurations& durations);

// Frames come at most `refresh_hz` times a second (60 when the display does
// not say): the ms still to wait at `now` when the last frame began at
// `last_start`; 0 when the next may be drawn. A clock that went back waits
// no more.
uint32_t FramePacingWait(uint32_t last_start, uint32_t now, uint32_t refresh_hz);

// The vehicle drawing's animation clock: the low 16 bits of the scene clock
// (it restarts every 65.536 s) in hundredths.
double AnimationClock(uint32_t scene_clock);
