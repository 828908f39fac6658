// The compiler's message log: UTF-16 lines with CR LF, a capacity and an
// error mark. Each message also remembers which script line produced it so
// the command-line tool can point at it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/format.h"

constexpr uint32_t kLogCapacityUnits = 0x80000;  // what a Make-data run gives

struct LogEntry {
  uint32_t offset = 0;  // first unit in LogBuffer::text
  uint32_t length = 0;  // units
  int level = 0;        // 0 error, 1 information
  int source = -1;      // index into LogBuffer::sources, -1 outside any script line
};

struct LogSource {
  std::u16string file;
  int line = 0;
};

struct LogBuffer {
  std::u16string text;
  uint32_t capacity = kLogCapacityUnits;
  int error_mark = 0;
  uint32_t dropped_messages = 0;  // messages that found the log full
  std::vector<LogEntry> entries;
  std::vector<LogSource> sources;
  // Set by the tokenizer while a script line runs; null outside script lines.
  const std::u16string* current_file = nullptr;
  int current_line = 0;

  explicit LogBuffer(uint32_t capacity_units = kLogCapacityUnits) : capacity(capacity_units) {}
  uint32_t length() const { return static_cast<uint32_t>(text.size()); }
};

// Formats `format` as FormatText does and appends it, unless length + n would
// reach the capacity, in which case nothing is appended, the error mark is
// left alone and the message is counted as dropped. Level 0 sets the error
// mark. Returns the number of units formatted.
uint32_t LogV(LogBuffer& log, int level, const char16_t* format, const FormatArg* args, size_t count);

// When messages were dropped, appends one information line saying how many,
// whether or not it fits the capacity (the reader must learn the log is cut).
void LogDroppedLines(LogBuffer& log);

template <typename... Args>
uint32_t Log(LogBuffer& log, int level, const char16_t* format, const Args&... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
  return LogV(log, level, format, list, sizeof...(Args));
}

// Calls `on_line(line)` for each line of one logged message, in order: lines
// end in CR LF or LF (neither is part of the line); an empty line counts.
template <typename OnLine>
void ForEachMessageLine(std::u16string_view message, OnLine&& on_line) {
  size_t start = 0;
  while (start < message.size()) {
    const size_t lf = message.find(u'\n', start);
    const size_t stop = lf == std::u16string_view::npos ? message.size() : lf;
    std::u16string_view line = message.substr(start, stop - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    on_line(line);
    start = stop + 1;
  }
}
