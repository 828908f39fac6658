// What `railwick make` and `railwick script` share: their options, the
// workshop name, and loading the project with its folder made current.
#pragma once
#include <memory>
#include <string>

#include "cli/cli.h"
#include "project/notifier.h"
#include "project/vehicle_project.h"

struct ProjectCommand {
  std::string project_file;  // as given
  std::string output;        // -o, as given; empty when absent
  std::string workshop;      // --workshop, or the environment's
  bool workshop_given = false;
};

// Reads PROJECT [-o X] [--workshop NAME]; false (after the usage line) when
// the arguments do not fit.
bool ParseProjectCommand(const CliArgs& args, const char* usage, ProjectCommand& command);

// Prints check messages on stderr, each line of a message on its own.
class StderrNotifier : public Notifier {
 public:
  void ShowError(const std::u16string& caption, const std::u16string& message) override;
};

// Checks the workshop name, makes the project file's folder the current
// folder (relative paths in a project are relative to it), and reads the
// project. Returns kExitOk, or the exit status after the message. `output`,
// when the command has one, is made absolute before the folder changes.
int LoadProjectForCommand(ProjectCommand& command, std::unique_ptr<VehicleProject>& project,
                          std::u16string& output, Notifier& notifier);

// A path as this system writes it, for messages.
std::string DisplayPath(const std::u16string& path);
