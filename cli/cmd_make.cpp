// railwick make PROJECT.xml [-o OUTDIR] [--workshop NAME]
#include <cstdio>

#include "cli/cli.h"
#include "cli/log_print.h"
#include "cli/project_args.h"
#include "datamake/make_data.h"
#include "modelio/file_utils.h"
#include "platform/fs.h"

namespace {

const char kUsage[] = "make PROJECT.xml [-o OUTDIR] [--workshop NAME]";

class PrintedProgress : public MakeDataProgress {
 public:
  void Step(MakeDataStep step, const std::u16string& detail) override {
    switch (step) {
      case MakeDataStep::kValidate:
        std::printf("[1/3] checking the project\n");
        break;
      case MakeDataStep::kWriteScript:
        std::printf("[2/3] writing the script %s\n", DisplayPath(FsAbsolute(detail)).c_str());
        break;
      case MakeDataStep::kCompile:
        std::printf("[3/3] compiling\n");
        break;
    }
    std::fflush(stdout);
  }
};

}  // namespace

int CliMake(const CliArgs& args) {
  ProjectCommand command;
  if (!ParseProjectCommand(args, kUsage, command)) return kExitUsage;
  StderrNotifier notifier;
  std::unique_ptr<VehicleProject> project;
  std::u16string output_folder;
  const std::u16string start_folder = FsCurrentDirectory();
  int status = LoadProjectForCommand(command, project, output_folder, notifier);
  if (status != kExitOk) return status;

  MakeDataOptions options;
  if (!output_folder.empty()) {
    // -o stands in for the project's output folder, and is made if missing.
    if (output_folder.size() > kMaxPathUnits) {
      CliError("the output folder's path is too long: " + command.output);
      return kExitUsage;
    }
    SetOutPath(*project, output_folder);
    options.create_output_folder = true;
  }
  PrintedProgress progress;
  MakeDataResult run = RunMakeData(*project, options, notifier, &progress);
  if (run.log) PrintLog(*run.log, stdout);
  if (run.compiler) ResetCompiler(*run.compiler);
  FsSetCurrentDirectory(start_folder);
  if (run.result != kResultOk) {
    if (run.log) CliError("the compilation failed; no data file was written");
    return kExitFailed;
  }
  std::printf("data file: %s\n", DisplayPath(FsAbsolute(run.data_file)).c_str());
  return kExitOk;
}
