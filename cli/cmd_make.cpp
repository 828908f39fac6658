// railwick make PROJECT.xml [-o OUTDIR] [--workshop NAME]
#include <cstdio>

#include "cli/cli.h"
#include "cli/progress_lines.h"
#include "cli/project_args.h"
#include "cli/project_log.h"
#include "datamake/make_data.h"
#include "platform/fs.h"

int ApplyOutputOption(ProjectCommand& command, MakeDataOptions& options) {
  if (command.output.empty()) return kExitOk;
  // -o stands in for the project's output folder, and is made if missing.
  if (command.output.size() > kMaxPathUnits) {
    CliError("the output folder's path is too long: " + command.output_arg);
    return kExitUsage;
  }
  if (FsFileExists(command.output)) {
    CliError("-o names a folder; " + command.output_arg + " is a file");
    return kExitUsage;
  }
  SetOutPath(*command.project, command.output);
  options.create_output_folder = true;
  return kExitOk;
}

int CliMake(const ProjectOptions& arguments) {
  // The project's checks, the validation and the compilation read the same
  // images: each is read once in this run.
  FsReadCache inputs;
  ProjectCommand command;
  int status = command.Start(arguments);
  if (status != kExitOk) return status;
  MakeDataOptions options;
  if ((status = ApplyOutputOption(command, options)) != kExitOk) return status;
  // The compiler refuses a data file that would replace a file it read; the
  // project file itself it never reads.
  const std::u16string data_file = ProjectDataFile(*command.project);
  if (FsSamePlace(data_file, command.project_path)) {
    CliError("the data file " + DisplayPath(data_file) + " would replace the project file");
    return kExitUsage;
  }
  ProgressLines progress;
  MakeDataResult run = RunMakeData(*command.project, options, command.notifier, &progress);
  if (run.log) PrintProjectLog(*run.log, run.script_lines, command.project_path, false, stdout);
  const bool refused = run.compiler && run.compiler->output_refused;
  if (run.compiler) ResetCompiler(*run.compiler);
  if (refused) return kExitUsage;  // reported in the log: an input named as the output
  if (!run.written) {
    if (run.log) CliError("the compilation failed; no data file was written");
    return kExitFailed;
  }
  std::printf("data file: %s\n", DisplayPath(run.data_file).c_str());
  return kExitOk;
}
