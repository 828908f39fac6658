#include "cli/project_args.h"

#include <cstdio>

#include "modelio/file_utils.h"
#include "platform/fs.h"
#include "platform/sjis.h"
#include "project/project_file.h"
#include "project/workshop_name.h"

bool ParseProjectCommand(const CliArgs& args, const char* usage, ProjectCommand& command) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size() && command.output.empty()) {
      command.output = args[++i];
    } else if (args[i] == "--workshop" && i + 1 < args.size() && !command.workshop_given) {
      command.workshop = args[++i];
      command.workshop_given = true;
    } else if (command.project_file.empty() && !args[i].empty() && args[i][0] != '-') {
      command.project_file = args[i];
    } else {
      command.project_file.clear();
      break;
    }
  }
  if (command.project_file.empty()) {
    CliError(std::string("usage: railwick ") + usage);
    return false;
  }
  return true;
}

void StderrNotifier::ShowError(const std::u16string& caption, const std::u16string& message) {
  std::string text = Utf16ToUtf8(message);
  std::string indented;
  for (char c : text) {
    indented.push_back(c);
    if (c == '\n') indented += "  ";
  }
  std::fprintf(stderr, "railwick: %s: %s\n", Utf16ToUtf8(caption).c_str(), indented.c_str());
}

std::string DisplayPath(const std::u16string& path) {
  std::u16string shown = path;
  for (char16_t& c : shown)
    if (c == u'/' || c == u'\\') c = FsSeparator();
  return Utf16ToUtf8(shown);
}

int LoadProjectForCommand(ProjectCommand& command, std::unique_ptr<VehicleProject>& project,
                          std::u16string& output, Notifier& notifier) {
  if (!command.workshop_given) command.workshop = CliEnvironment("RAILWICK_WORKSHOP");
  if (command.workshop.empty() && !command.workshop_given) {
    CliError("no workshop name: give --workshop NAME or set RAILWICK_WORKSHOP");
    return kExitUsage;
  }
  const std::u16string workshop = Utf8ToUtf16(command.workshop);
  switch (CheckWorkshopName(workshop)) {
    case 1:
      notifier.ShowError(kCheckCaption, kWorkshopBlankMessage);
      return kExitFailed;
    case 2:
      notifier.ShowError(kCheckCaption, kWorkshopReservedMessage);
      return kExitFailed;
  }

  if (!command.output.empty()) output = FsAbsolute(Utf8ToUtf16(command.output));
  const std::u16string path = FsAbsolute(Utf8ToUtf16(command.project_file));
  if (!FsSetCurrentDirectory(FsSplitPath(path).folder)) {
    CliError("cannot enter the folder of " + command.project_file);
    return kExitFailed;
  }
  project = std::make_unique<VehicleProject>();
  ProjectReadReport report;
  if (ReadProjectFile(*project, path, &report) != kResultOk) {
    CliError(report.unreadable ? "cannot read " + command.project_file
                               : command.project_file + " is not a project file");
    return kExitFailed;
  }
  // A project whose files went missing would make a different vehicle.
  if (!report.dropped.empty()) {
    notifier.ShowError(kCheckCaption, DroppedFilesMessage(report.dropped));
    return kExitFailed;
  }
  project->maker.Set(workshop);
  return kExitOk;
}
