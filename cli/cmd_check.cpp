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
    std::printf("%s\n", Utf16ToUtf8(ProblemLine(problem)).c_str());
    failed = failed || !problem.warning;
  }
  return failed ? kExitFailed : kExitOk;
}
