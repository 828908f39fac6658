#include "platform/save_settler.h"

#include <algorithm>

void SaveSettler::Change(int64_t now_ms) {
  if (!pending_) first_ = now_ms;
  pending_ = true;
  last_ = now_ms;
}

int64_t SaveSettler::Deadline() const {
  return std::min(last_ + quiet_ms_, first_ + longest_ms_);
}

bool SaveSettler::Due(int64_t now_ms) {
  if (!pending_ || now_ms < Deadline()) return false;
  pending_ = false;
  return true;
}

int SaveSettler::NextLookMs(int64_t now_ms, int idle_ms) const {
  if (!pending_) return idle_ms;
  return static_cast<int>(std::clamp<int64_t>(Deadline() - now_ms, 0, idle_ms));
}
