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
  int status = command.Start(args, kUsage);
  if (status != kExitOk) return status;
  VehicleProject& project = *command.project;

  MakeDataOptions options;
  if (!command.output.empty()) {
    // -o stands in for the project's output folder, and is made if missing.
    if (command.output.size() > kMaxPathUnits) {
      CliError("the output folder's path is too long: " + command.output_arg);
      return kExitUsage;
    }
    SetOutPath(project, command.output);
    options.create_output_folder = true;
  }
  PrintedProgress progress;
  MakeDataResult run = RunMakeData(project, options, command.notifier, &progress);
  if (run.log) PrintLog(*run.log, stdout);
  if (run.compiler) ResetCompiler(*run.compiler);
  if (run.result != kResultOk) {
    if (run.log) CliError("the compilation failed; no data file was written");
    return kExitFailed;
  }
  std::printf("data file: %s\n", DisplayPath(FsAbsolute(run.data_file)).c_str());
  return kExitOk;
}
