#include "cli/log_print.h"

#include <string>

#include "platform/sjis.h"

void PrintLog(const LogBuffer& log, std::FILE* out) {
  for (const LogEntry& e : log.entries) {
    std::u16string prefix;
    if (e.source >= 0) {
      const LogSource& s = log.sources[static_cast<size_t>(e.source)];
      const std::string line = std::to_string(s.line);
      prefix = s.file + u":" + std::u16string(line.begin(), line.end()) + u": ";
    }
    PrintMessageLines(prefix, log.text.substr(e.offset, e.length), out);
  }
}

void PrintMessageLines(const std::u16string& prefix, const std::u16string& message, std::FILE* out) {
  ForEachMessageLine(message, [&](std::u16string_view line) {
    std::fprintf(out, "%s\n", Utf16ToUtf8(prefix + std::u16string(line)).c_str());
  });
}
