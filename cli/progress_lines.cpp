#include "cli/progress_lines.h"

#include <cstdio>

#include "cli/project_args.h"
#include "platform/console.h"

ProgressLines::ProgressLines() : shown_(ConsoleIsTerminal(2)) {}

void ProgressLines::Step(MakeDataStep step, const std::u16string& detail) {
  if (!shown_) return;
  switch (step) {
    case MakeDataStep::kValidate:
      std::fprintf(stderr, "checking the project\n");
      break;
    case MakeDataStep::kCompile:
      std::fprintf(stderr, "compiling\n");
      break;
    case MakeDataStep::kConvertModel:
      std::fprintf(stderr, "  model %d: %s\n", ++models_, DisplayPath(detail).c_str());
      break;
    case MakeDataStep::kWriteDataFile:
      std::fprintf(stderr, "wrote %s\n", DisplayPath(detail).c_str());
      break;
  }
  std::fflush(stderr);
}
