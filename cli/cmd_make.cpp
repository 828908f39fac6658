// railwick make PROJECT.xml [-o OUTDIR] [--workshop NAME]
#include <cstdio>

#include "cli/cli.h"
#include "cli/log_print.h"
#include "cli/progress_lines.h"
#include "cli/project_args.h"
#include "datamake/make_data.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"

int ApplyOutputOption(ProjectCommand& command, MakeDataOptions& options) {
  if (command.output.empty()) return kExitOk;
  // -o stands in for the project's output folder, and is made if missing.
  if (command.output.size() > kMaxPathUnits) {
    CliError("the output folder's path is too long: " + command.output_arg);
    return kExitUsage;
  }
  SetOutPath(*command.project, command.output);
  options.create_output_folder = true;
  return kExitOk;
}

int CliMake(const ProjectOptions& arguments) {
  ProjectCommand command;
  int status = command.Start(arguments);
  if (status != kExitOk) return status;
  MakeDataOptions options;
  if ((status = ApplyOutputOption(command, options)) != kExitOk) return status;
  ProgressLines progress;
  MakeDataResult run = RunMakeData(*command.project, options, command.notifier, &progress);
  if (run.log) PrintLog(*run.log, stdout);
  if (run.compiler) ResetCompiler(*run.compiler);
  if (run.result != kResultOk) {
    if (run.log) CliError("the compilation failed; no data file was written");
    return kExitFailed;
  }
  std::printf("data file: %s\n", DisplayPath(FsAbsolute(run.data_file)).c_str());
  return kExitOk;
}
