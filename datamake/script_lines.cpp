#include "datamake/script_lines.h"

namespace {

std::u16string Label(const ScriptSource& s) {
  return s.key + u" (" + s.file + u")";
}

}  // namespace

std::u16string ScriptLineLabel(const ScriptLineMap& lines, int line, std::u16string_view message) {
  if (line < 1 || static_cast<size_t>(line) > lines.size()) return {};
  const std::vector<ScriptSource>& sources = lines[static_cast<size_t>(line) - 1];
  for (const ScriptSource& s : sources)
    if (sources.size() > 1 && message.find(s.file) != std::u16string_view::npos) return Label(s);
  std::u16string label;
  for (const ScriptSource& s : sources) label += (label.empty() ? u"" : u", ") + Label(s);
  return label;
}

bool IsDataFileLine(std::u16string_view message) {
  return message.substr(0, 15) == u"バイナリファイルを作成しました";
}
