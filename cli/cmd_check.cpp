// railwick check PROJECT.xml: every problem that would stop Make data, one
// line each, without writing anything.
#include <cstdio>

#include "cli/cli.h"
#include "cli/project_args.h"
#include "datamake/check_project.h"
#include "platform/sjis.h"

int CliCheck(const ProjectOptions& arguments) {
  ProjectCommand command;
  command.checking = true;
  int status = command.Start(arguments);
  if (status != kExitOk) return status;
  const std::vector<ProjectProblem> problems = CheckProject(*command.project, &command.read);
  bool failed = false;
  for (const ProjectProblem& problem : problems) {
    // A message of several lines stays on the problem's one line.
    std::u16string message = problem.message;
    for (char16_t& c : message)
      if (c == u'\n') c = u' ';
    std::u16string line = problem.field.empty() ? u"" : problem.field + u": ";
    if (problem.warning) line += u"warning: ";
    std::printf("%s\n", Utf16ToUtf8(line + message).c_str());
    failed = failed || !problem.warning;
  }
  return failed ? kExitFailed : kExitOk;
}
