#include "cli/log_print.h"

#include <string>

#include "platform/sjis.h"

void PrintLog(const LogBuffer& log, std::FILE* out) {
  for (const LogEntry& e : log.entries) {
    std::string prefix;
    if (e.source >= 0) {
      const LogSource& s = log.sources[static_cast<size_t>(e.source)];
      prefix = Utf16ToUtf8(s.file) + ":" + std::to_string(s.line) + ": ";
    }
    std::u16string message = log.text.substr(e.offset, e.length);
    // One message may hold several lines; each gets the prefix. CR LF
    // becomes the terminal's LF.
    size_t start = 0;
    while (start < message.size()) {
      size_t lf = message.find(u'\n', start);
      size_t stop = lf == std::u16string::npos ? message.size() : lf;
      std::u16string line = message.substr(start, stop - start);
      if (!line.empty() && line.back() == u'\r') line.pop_back();
      std::fprintf(out, "%s%s\n", prefix.c_str(), Utf16ToUtf8(line).c_str());
      start = stop + 1;
    }
  }
}
