// Prints the log of a Make-data run against the project: a message from a
// line of the generated script is named by the project file, the field and
// the file it names, never by the script, which the author cannot open.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

#include "compiler/log_buffer.h"
#include "datamake/script_lines.h"

// "sample.xml: truck1 model (models\frame.obj): ERROR : no uv polygon [line 43]";
// a line that names no file gets the project file alone, a message from
// outside the script no prefix. `errors_only` leaves out information lines
// and the line naming the written file. Returns the messages printed.
size_t PrintProjectLog(const LogBuffer& log, const ScriptLineMap& lines, const std::u16string& project_file,
                       bool errors_only, std::FILE* out);
