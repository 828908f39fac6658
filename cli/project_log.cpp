#include "cli/project_log.h"

#include "platform/fs.h"
#include "platform/sjis.h"

size_t PrintProjectLog(const LogBuffer& log, const ScriptLineMap& lines, const std::u16string& project_file,
                       bool errors_only, std::FILE* out) {
  const SplitPath parts = FsSplitPath(project_file);
  const std::u16string project_name = parts.name + parts.ext;
  size_t printed = 0;
  for (const LogEntry& e : log.entries) {
    const std::u16string message = log.text.substr(e.offset, e.length);
    if (errors_only && (e.level != 0 || IsDataFileLine(message))) continue;
    ++printed;
    std::u16string prefix;
    // A generated script includes nothing: every source line is its own.
    if (e.source >= 0) {
      const std::u16string label =
          ScriptLineLabel(lines, log.sources[static_cast<size_t>(e.source)].line, message);
      prefix = project_name + u": " + (label.empty() ? u"" : label + u": ");
    }
    // Each line of a message gets the prefix; CR LF becomes the terminal's LF.
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
  return printed;
}
