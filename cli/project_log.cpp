#include "cli/project_log.h"

#include "cli/log_print.h"
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
    PrintMessageLines(prefix, message, out);
  }
  return printed;
}
