// railwick script PROJECT.xml [-o SCRIPT] [--workshop NAME]
#include <cstdio>

#include "cli/cli.h"
#include "cli/project_args.h"
#include "datamake/make_data.h"
#include "datamake/validate.h"
#include "datamake/vehicle_script.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"

int CliScript(const ProjectOptions& arguments) {
  ProjectCommand command;
  int status = command.Start(arguments);
  if (status != kExitOk) return status;
  const VehicleProject& project = *command.project;
  std::u16string target = command.output;

  MainTextureSize texture;
  std::string script;
  if (ValidateProject(project, command.notifier, &texture) != kResultOk ||
      BuildVehicleScript(project, texture, script, command.notifier) != kResultOk)
    return kExitFailed;
  // Beside the project by default, where `railwick compile` finds the same
  // files the project names; a hand-edited script there is never replaced.
  if (target.empty()) {
    target = FsAbsolute(TemporaryScriptName(project));
    if (FsFileExists(target)) {
      CliError(DisplayPath(target) + " exists already; name the script with -o");
      return kExitFailed;
    }
  }
  if (WriteWholeFile(target, script.data(), script.size()) != 1) {
    CliError("cannot write " + DisplayPath(target));
    return kExitFailed;
  }
  std::printf("script: %s\n", DisplayPath(target).c_str());
  return kExitOk;
}
