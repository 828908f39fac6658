#include "compiler/log_buffer.h"

namespace {

// Adds a formatted message as one entry, naming the script line that runs.
void Append(LogBuffer& log, int level, const std::u16string& message) {
  LogEntry entry;
  entry.offset = log.length();
  entry.length = static_cast<uint32_t>(message.size());
  entry.level = level;
  if (log.current_file) {
    if (log.sources.empty() || log.sources.back().line != log.current_line ||
        log.sources.back().file != *log.current_file)
      log.sources.push_back({*log.current_file, log.current_line});
    entry.source = static_cast<int>(log.sources.size()) - 1;
  }
  log.text += message;
  log.entries.push_back(entry);
  if (level == 0) log.error_mark = 1;
}

}  // namespace

uint32_t LogV(LogBuffer& log, int level, const char16_t* format, const FormatArg* args, size_t count) {
  const std::u16string message = FormatText(format, args, count);
  const uint32_t n = static_cast<uint32_t>(message.size());
  if (static_cast<uint64_t>(log.length()) + n >= log.capacity) {
    ++log.dropped_messages;
    return n;
  }
  Append(log, level, message);
  return n;
}

void LogDroppedLines(LogBuffer& log) {
  if (log.dropped_messages == 0) return;
  const FormatArg count(log.dropped_messages);
  Append(log, 1, FormatText(u"ログが一杯のため %u 行を省略しました\r\n", &count, 1));
}
