#include "compiler/log_buffer.h"

namespace {

constexpr size_t kMessageUnits = 65536;  // formatting buffer, terminator included

void AppendNumber(std::u16string& out, uint64_t value, unsigned base, bool upper) {
  char16_t digits[24];
  int n = 0;
  do {
    unsigned d = static_cast<unsigned>(value % base);
    digits[n++] = static_cast<char16_t>(d < 10 ? u'0' + d : (upper ? u'A' : u'a') + d - 10);
    value /= base;
  } while (value);
  while (n) out.push_back(digits[--n]);
}

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

uint32_t LogV(LogBuffer& log, int level, const char16_t* format, const LogArg* args, size_t count) {
  std::u16string message;
  size_t next = 0;
  for (const char16_t* p = format; *p; ++p) {
    if (*p != u'%' || !p[1]) {
      message.push_back(*p);
      continue;
    }
    char16_t conversion = *++p;
    if (conversion == u'%') {
      message.push_back(u'%');
      continue;
    }
    const LogArg* arg = next < count ? &args[next++] : nullptr;
    if (!arg) continue;
    if (conversion == u's') {
      if (arg->kind == LogArg::kText && arg->text) message += arg->text;
    } else if (arg->kind != LogArg::kText) {
      int64_t v = arg->number;
      if (conversion == u'd' && arg->kind == LogArg::kInt) {
        if (v < 0) message.push_back(u'-');
        AppendNumber(message, v < 0 ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v), 10, false);
      } else {
        uint32_t u = static_cast<uint32_t>(v);
        AppendNumber(message, u, conversion == u'x' || conversion == u'X' ? 16 : 10, conversion == u'X');
      }
    }
  }
  if (message.size() > kMessageUnits - 1) message.resize(kMessageUnits - 1);
  uint32_t n = static_cast<uint32_t>(message.size());
  if (static_cast<uint64_t>(log.length()) + n >= log.capacity) {
    ++log.dropped_messages;
    return n;
  }
  Append(log, level, message);
  return n;
}

void LogDroppedLines(LogBuffer& log) {
  if (log.dropped_messages == 0) return;
  std::u16string message = u"ログが一杯のため ";
  AppendNumber(message, log.dropped_messages, 10, false);
  message += u" 行を省略しました\r\n";
  Append(log, 1, message);
}
