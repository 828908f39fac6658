#include "datamake/live_build.h"

#include <algorithm>

#include "datamake/make_data.h"
#include "datamake/referenced_files.h"
#include "datamake/validate.h"
#include "platform/ascii_case.h"

namespace {

// Keeps what the run would have shown in a message box.
class KeptMessages : public Notifier {
 public:
  void ShowError(const std::u16string&, const std::u16string& message) override { texts.push_back(message); }
  std::vector<std::u16string> texts;
};

std::u16string ProblemText(const ProjectProblem& problem) {
  return problem.field.empty() ? problem.message : problem.field + u": " + problem.message;
}

// The reader's header line ("OBJ load [file]") only names the model, which
// the field label names too; the line after it says what is wrong.
const ProjectProblem& FirstTelling(const std::vector<ProjectProblem>& errors) {
  for (const ProjectProblem& problem : errors) {
    const size_t start = problem.message.find_first_not_of(u' ');
    const std::u16string head = start == std::u16string::npos ? u"" : problem.message.substr(start, 8);
    if (!EqualsIgnoringAsciiCase(head, u"OBJ LOAD")) return problem;
  }
  return errors.front();
}

}  // namespace

LiveBuild RunLiveBuild(const VehicleProject& p, PreviewFactory* factory) {
  LiveBuild build;
  KeptMessages kept;
  MakeDataOptions options;
  options.preview_factory = factory;
  options.write_files = false;
  MakeDataResult run = RunMakeData(p, options, kept);
  if (run.compiler && run.compiled) {
    build.compiler = std::move(run.compiler);
    build.report = run.log->text;
    return build;
  }
  if (run.log) {
    AddCompilerProblems(run, build.errors);
    build.report = run.log->text;
  } else {
    // Stopped before the compilation: every failed check, not only the first.
    MainTextureSize texture;
    ValidateProjectAll(p, &texture, [&](const char16_t* field, const char16_t* message) {
      build.errors.push_back({field, message});
    });
    // What stopped the run comes first: a project never saved, the script
    // writer's refusal, or the first failed check, which is listed already.
    if (!kept.texts.empty() && (build.errors.empty() || build.errors.front().message != kept.texts.front()))
      build.errors.insert(build.errors.begin(), {u"", kept.texts.front()});
    for (const ProjectProblem& problem : build.errors) build.report += ProblemText(problem) + u"\r\n";
  }
  build.errors.erase(std::remove_if(build.errors.begin(), build.errors.end(),
                                    [](const ProjectProblem& problem) { return problem.warning; }),
                     build.errors.end());
  if (build.errors.empty()) build.errors.push_back({u"", u"コンパイルに失敗しました。"});
  if (run.compiler) ResetCompiler(*run.compiler);
  return build;
}

std::vector<std::u16string> LiveWatchFiles(const VehicleProject& p, const std::u16string& project_file) {
  if (project_file.empty()) return {};
  return ReferencedFiles(p, project_file);
}

std::u16string LiveFailureLine(const LiveBuild& build) {
  if (build.compiler) return {};
  const std::string count = std::to_string(build.errors.size());
  const std::u16string text = u"自動更新: エラー " + std::u16string(count.begin(), count.end()) + u" 件: " +
                              ProblemText(FirstTelling(build.errors));
  // One blank for each run of line breaks, tabs and blanks.
  std::u16string line;
  for (char16_t ch : text) {
    const bool blank = ch == u'\r' || ch == u'\n' || ch == u'\t' || ch == u' ';
    if (blank && (line.empty() || line.back() == u' ')) continue;
    line += blank ? u' ' : ch;
  }
  return line;
}
