#include "preview/scene_clock.h"

#include <cstdio>

void StartSceneClock(SceneClock& clock, uint32_t now) {
  clock = SceneClock{};
  clock.start_time = now;
}

uint32_t TickSceneClock(SceneClock& clock, uint32_t now, bool fixed_step) {
  if (clock.paused) {
    // Resume from where the clock stood: the time spent minimised is not
    // scene time.
    clock.paused = false;
    clock.start_time = now;
  }
  if (fixed_step) {
    clock.value += kScreenshotFrameStepMs;
  } else {
    clock.value = now + clock.resume_offset - clock.start_time;
  }
  return clock.value;
}

void PauseSceneClock(SceneClock& clock) {
  clock.resume_offset = clock.value;
  clock.paused = true;
}

void NoteFrameDuration(FrameDurations& durations, uint32_t scene_clock, uint32_t duration) {
  durations.last = duration;
  if (scene_clock <= kStatisticsSettleMs) return;
  if (duration < durations.minimum) durations.minimum = duration;
  if (duration > durations.maximum) durations.maximum = duration;
}

std::u16string FormatStatusLine(float frames_per_second, uint32_t scene_clock, uint32_t draw_counter,
                                const FrameDurations& durations) {
  char text[128];
  std::snprintf(text, sizeof(text), "%5.2f FPS T%08d D%02d L%02d %02d %02d",
                static_cast<double>(frames_per_second), static_cast<int>(scene_clock),
                static_cast<int>(draw_counter), static_cast<int>(durations.last),
                static_cast<int>(durations.minimum), static_cast<int>(durations.maximum));
  // Digits, letters, blanks and signs only: ASCII widens unit by unit.
  std::u16string line;
  for (const char* p = text; *p; ++p) line.push_back(static_cast<char16_t>(static_cast<unsigned char>(*p)));
  return line;
}

double AnimationClock(uint32_t scene_clock) {
  return static_cast<double>(scene_clock & 0xFFFFu) * 0.01;
}

uint32_t FramePacingWait(uint32_t last_start, uint32_t now, uint32_t refresh_hz) {
  // Rounded up, so the rate stays at or below the display's.
  const uint32_t hz = refresh_hz > 0 && refresh_hz <= 1000 ? refresh_hz : 60;
  const uint32_t period = (1000 + hz - 1) / hz;
  const uint32_t elapsed = now - last_start;  // wraps with the system clock
  return elapsed < period ? period - elapsed : 0;
}
