// What `railwick make` and `railwick script` share: their options, the
// workshop name, and loading the project.
#pragma once
#include <memory>
#include <string>

#include "cli/cli.h"
#include "project/notifier.h"
#include "project/project_file.h"
#include "project/vehicle_project.h"

// Prints check messages on stderr, each line of a message on its own.
class StderrNotifier : public Notifier {
 public:
  void ShowError(const std::u16string& caption, const std::u16string& message) override;
};

// One run of a command on a project file: PROJECT [-o X] [--workshop NAME].
struct ProjectCommand {
  std::string project_file;    // as given
  std::u16string project_path;  // made absolute against the folder the tool started in
  std::string output_arg;    // -o as given; empty when absent
  std::u16string output;     // -o made absolute against the folder the tool started in
  StderrNotifier notifier;
  std::unique_ptr<VehicleProject> project;
  // `railwick check`: the workshop name is optional, and images or sounds
  // the reader left out are kept in `read` instead of stopping the command.
  bool checking = false;
  ProjectReadReport read;

  // Takes the parsed arguments, checks the workshop name (--workshop, else
  // RAILWICK_WORKSHOP) and reads the project, whose relative paths are
  // relative to its own folder; the current folder is left alone.
  // kExitOk, or the exit status after the message.
  int Start(const ProjectOptions& arguments);
};

struct MakeDataOptions;
// -o of make and watch: the output folder replaces the project's, and is
// made when missing. kExitOk or the exit status after the message.
int ApplyOutputOption(ProjectCommand& command, MakeDataOptions& options);

// A path as this system writes it, for messages.
std::string DisplayPath(const std::u16string& path);
