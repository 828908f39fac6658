// The build behind the program's live preview: the project compiled in
// memory after a save of one of its files, writing nothing (no data file,
// no mesh file, no script), and what to tell the author when it fails.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "compiler/preview_factory.h"
#include "compiler/vehicle_compiler.h"
#include "datamake/check_project.h"
#include "project/vehicle_project.h"

struct LiveBuild {
  // The compiled vehicle for the preview; null when the build failed.
  std::unique_ptr<VehicleCompiler> compiler;
  // What made it fail, every error as `check` words it; warnings left out.
  std::vector<ProjectProblem> errors;
  // The compiler's log, or the messages that stopped the run before it.
  std::u16string report;
};

// Compiles `p` as Make data would, with `factory` making the preview's
// objects, but writes nothing and shows no message.
LiveBuild RunLiveBuild(const VehicleProject& p, PreviewFactory* factory);

// The files whose saves start a live build of `p` kept in `project_file`:
// that file and every file its data is made from. None for a project that
// was never saved, whose relative paths lead nowhere.
std::vector<std::u16string> LiveWatchFiles(const VehicleProject& p, const std::u16string& project_file);

// One line for the preview: the error count and the first error that
// says what is wrong (not the reader's line naming the model), with line
// breaks turned into blanks; empty for a build that succeeded.
std::u16string LiveFailureLine(const LiveBuild& build);
