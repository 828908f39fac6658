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
  size_t start = 0;
  while (start < message.size()) {
    size_t lf = message.find(u'\n', start);
    size_t stop = lf == std::u16string::npos ? message.size() : lf;
    std::u16string line = message.substr(start, stop - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    std::fprintf(out, "%s\n", Utf16ToUtf8(prefix + line).c_str());
    start = stop + 1;
  }
}
