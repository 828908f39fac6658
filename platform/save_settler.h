// When a burst of file changes has settled: editors save as several writes,
// a rename or a temporary file, and one build should follow the whole burst.
#pragma once
#include <cstdint>

class SaveSettler {
 public:
  // A burst has settled once `quiet_ms` pass without a change; one that
  // never goes quiet (a file rewritten over and over) still settles
  // `longest_ms` after its first change.
  SaveSettler(int quiet_ms, int longest_ms) : quiet_ms_(quiet_ms), longest_ms_(longest_ms) {}

  // A change seen at `now_ms`.
  void Change(int64_t now_ms);
  // True once per burst, when it has settled at `now_ms`; the next change
  // starts a new burst.
  bool Due(int64_t now_ms);
  // How long to wait for changes before asking Due again: until the burst
  // may settle, or `idle_ms` when none is pending.
  int NextLookMs(int64_t now_ms, int idle_ms) const;

 private:
  int64_t Deadline() const;

  int quiet_ms_;
  int longest_ms_;
  bool pending_ = false;
  int64_t first_ = 0;
  int64_t last_ = 0;
};
