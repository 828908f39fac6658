// railwick script PROJECT.xml [-o SCRIPT] [--workshop NAME]
#include <cstdio>
#include <memory>

#include "cli/cli.h"
#include "cli/project_args.h"
#include "datamake/make_data.h"
#include "datamake/project_paths.h"
#include "datamake/validate.h"
#include "datamake/vehicle_script.h"
#include "platform/files.h"
#include "platform/fs.h"

int CliScript(const ProjectOptions& arguments) {
  ProjectCommand command;
  int status = command.Start(arguments);
  if (status != kExitOk) return status;
  auto project = std::make_unique<VehicleProject>(*command.project);
  std::u16string target = command.output;

  // Beside the project by default, where `railwick compile` finds the same
  // files the project names; a hand-edited script there is never replaced.
  if (target.empty()) {
    target = project->folder + TemporaryScriptName(*project);
    if (FsFileExists(target)) {
      CliError(DisplayPath(target) + " exists already; name the script with -o");
      return kExitFailed;
    }
  }
  const std::u16string input = InputAt(*project, command.project_path, target);
  if (!input.empty()) {
    CliError("-o " + command.output_arg + " would replace " + DisplayPath(input) + ", which the project reads");
    return kExitUsage;
  }
  // Elsewhere, the script names the project's files from its own folder.
  const std::u16string script_folder = FsSplitPath(target).folder;
  if (!FsSamePlace(script_folder, project->folder) && !RebaseProjectPaths(*project, script_folder)) {
    CliError("a path of the project is too long to be named from " + DisplayPath(script_folder));
    return kExitFailed;
  }

  MainTextureSize texture;
  std::string script;
  if (!ValidateProject(*project, command.notifier, &texture) ||
      !BuildVehicleScript(*project, texture, script, command.notifier))
    return kExitFailed;
  if (WriteWholeFile(target, script.data(), script.size()) != 1) {
    CliError("cannot write " + DisplayPath(target));
    return kExitFailed;
  }
  std::printf("script: %s\n", DisplayPath(target).c_str());
  return kExitOk;
}
