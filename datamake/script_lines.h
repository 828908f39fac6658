// Where the lines of a generated script come from, so a message about one of
// them can name the project field and the file the author can open.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct ScriptSource {
  std::u16string key;   // the project-file key: "modelA1", "truck1 model", "optionset2 modelA"
  std::u16string file;  // as the project names it
};

// Index: script line number - 1. A line that names no file of the project
// holds nothing; a pantograph line holds both its models.
using ScriptLineMap = std::vector<std::vector<ScriptSource>>;

// "truck1 model (models\frame.obj)" for a message logged on `line` (1 for
// the first); of several files on the line, the one `message` names, else
// all of them. Empty when the line names no file.
std::u16string ScriptLineLabel(const ScriptLineMap& lines, int line, std::u16string_view message);

// True for the log line naming the written data file, which the compiler
// keeps at error level although it reports success.
bool IsDataFileLine(std::u16string_view message);
