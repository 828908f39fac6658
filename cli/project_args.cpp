#include "cli/project_args.h"

#include <cstdio>

#include "platform/fs.h"
#include "platform/sjis.h"
#include "project/project_file.h"
#include "project/workshop_name.h"

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

int ProjectCommand::Start(const ProjectOptions& arguments) {
  project_file = arguments.project_file;
  output_arg = arguments.output;
  std::string workshop_arg = arguments.workshop;
  const bool workshop_given = arguments.workshop_given;

  if (!workshop_given) workshop_arg = CliEnvironment("RAILWICK_WORKSHOP");
  if (workshop_arg.empty() && !workshop_given && !checking) {
    CliError("no workshop name: give --workshop NAME or set RAILWICK_WORKSHOP");
    return kExitUsage;
  }
  const std::u16string workshop = Utf8ToUtf16(workshop_arg);
  const WorkshopNameCheck check =
      workshop.empty() && checking ? WorkshopNameCheck::kOk : CheckWorkshopName(workshop);
  if (const char16_t* why = WorkshopNameMessage(check)) {
    notifier.ShowError(kCheckCaption, why);
    return kExitFailed;
  }

  if (!output_arg.empty()) output = FsAbsolute(Utf8ToUtf16(output_arg));
  // What the user typed is relative to where the tool was started; the
  // project's own paths are relative to its folder.
  project_path = FsAbsolute(Utf8ToUtf16(project_file));
  project = std::make_unique<VehicleProject>();
  ProjectReadReport& report = read;
  if (!ReadProjectFile(*project, project_path, &report)) {
    CliError(report.unreadable ? "cannot read " + project_file : project_file + " is not a project file");
    return kExitFailed;
  }
  // A project whose files went missing would make a different vehicle.
  if (!report.dropped.empty() && !checking) {
    notifier.ShowError(kCheckCaption, DroppedFilesMessage(report.dropped));
    return kExitFailed;
  }
  project->maker.Set(workshop);
  return kExitOk;
}
