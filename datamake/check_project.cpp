#include "datamake/check_project.h"

#include "datamake/make_data.h"
#include "datamake/referenced_files.h"
#include "datamake/validate.h"
#include "platform/files.h"
#include "platform/fs.h"
#include "project/value_findings.h"

namespace {

// Keeps the one message the run shows when it refuses.
class KeptMessage : public Notifier {
 public:
  void ShowError(const std::u16string&, const std::u16string& message) override { text = message; }
  std::u16string text;
};

bool Reported(const std::vector<ProjectProblem>& problems, const std::u16string& field) {
  for (const ProjectProblem& p : problems)
    if (p.field == field) return true;
  return false;
}

void CheckNamedFiles(const VehicleProject& p, std::vector<ProjectProblem>& problems) {
  auto check = [&](const FileField& field) {
    const PathText& path = p.*field.member;
    if (path.empty() || Reported(problems, field.key)) return;
    std::vector<uint8_t> data;
    if (!ReadWholeFile(ProjectPath(p, path.view()), data)) {
      problems.push_back({field.key, u"ファイルが読み込めません。 " + path.str()});
    } else if (CheckFileData(field.kind, data) != FileCheck::kOk) {
      problems.push_back({field.key, field.refused});
    }
  };
  for (const FileField& field : kImageFields) check(field);
  for (const FileField& field : kSoundFields) check(field);
}

// Without a compilation to read them, models are only looked for.
void CheckModelFiles(const VehicleProject& p, std::vector<ProjectProblem>& problems) {
  ForEachPathField(p, [&](const char16_t* key, const std::u16string& path, bool checked) {
    if (!checked && !FsFileExists(ProjectPath(p, path)))
      problems.push_back({key, u"モデルファイルが見つかりません。 " + path});
  });
}

// The folder make writes into: one this system can name, that exists, and
// that takes a file.
void CheckOutputFolder(const VehicleProject& p, std::vector<ProjectProblem>& problems) {
  if (p.outpath.empty()) return;
  const std::u16string folder = ProjectPath(p, p.outpath.view());
  const std::u16string& path = p.outpath.str();
  auto fail = [&](const char16_t* message) { problems.push_back({u"outpath", message + path}); };
  const bool drive = folder.size() >= 2 && folder[1] == u':';
  if (drive && FsSeparator() != u'\\') return fail(u"出力パスはこのシステムでは使えません。\n");
  if (!FsIsDirectory(folder)) return fail(u"出力フォルダーがありません。\n");
  if (ProjectDataFile(p).size() > kMaxPathUnits) return fail(u"出力ファイルのパスが長すぎます。\n");
  // Written through a temporary file of this run, so concurrent checks of
  // one folder do not collide.
  const std::u16string probe = folder + FsSeparator() + u".railwick-write-probe";
  if (!FsWriteFileAtomic(probe, "", 0)) return fail(u"出力フォルダーに書き込めません。\n");
  FsRemoveFile(probe);
}

// The compiler's messages of a check run. Each reader line stands alone;
// other lines of one message are joined. Reader WARNINGs are warnings; the
// other lines matter only when the compilation failed (a vehicle without a
// sign texture logs one and is still made).
void AddCompilerMessages(const MakeDataResult& run, std::vector<ProjectProblem>& problems) {
  const LogBuffer& log = *run.log;
  const bool failed = !run.compiled;
  size_t reported_before = problems.size();
  for (const LogEntry& e : log.entries) {
    const std::u16string message = log.text.substr(e.offset, e.length);
    if (e.level != 0 || IsDataFileLine(message)) continue;
    std::u16string field;
    if (e.source >= 0)
      field = ScriptLineLabel(run.script_lines, log.sources[static_cast<size_t>(e.source)].line, message);
    bool joined = false;
    ForEachMessageLine(message, [&](std::u16string_view line) {
      if (line.empty()) return;
      const bool reader_warning = line.substr(0, 7) == u"WARNING";
      if (joined && !reader_warning && line.substr(0, 5) != u"ERROR") {
        problems.back().message += u" " + std::u16string(line);
        return;
      }
      joined = reader_warning || failed;
      if (joined) problems.push_back({field, std::u16string(line), reader_warning});
    });
  }
  // A compilation that failed without a line saying why still fails make.
  bool any_error = false;
  for (size_t i = reported_before; i < problems.size(); ++i) any_error = any_error || !problems[i].warning;
  if (failed && !any_error) problems.push_back({u"", u"コンパイルに失敗しました。"});
}

}  // namespace

void AddCompilerProblems(const MakeDataResult& run, std::vector<ProjectProblem>& problems) {
  AddCompilerMessages(run, problems);
}

std::vector<ProjectProblem> CheckProject(const VehicleProject& p, const ProjectReadReport* read) {
  std::vector<ProjectProblem> problems;
  if (read) {
    for (const DroppedFile& d : read->dropped)
      problems.push_back({d.field->key, DroppedFilesMessage({d})});
  }
  // Values no vehicle can have: the dialogs refuse them, but a stored
  // project keeps building. Characters the script cannot carry are the
  // script writer's refusal below, which does stop make.
  for (const ValueFinding& f : FindImpossibleValues(p, read))
    if (f.problem != ValueProblem::kUnscriptable) problems.push_back({f.key, f.message, true});
  MainTextureSize texture{256, 256};
  const int failed = ValidateProjectAll(p, &texture, [&](const char16_t* field, const char16_t* message) {
    problems.push_back({field, message});
  });
  CheckNamedFiles(p, problems);
  CheckOutputFolder(p, problems);
  // The script writer's refusals and the compilation need a project that
  // validates; then the run is make's own, short of writing.
  if (failed != 0) {
    CheckModelFiles(p, problems);
    return problems;
  }
  KeptMessage kept;
  MakeDataOptions options;
  options.write_files = false;
  MakeDataResult run = RunMakeData(p, options, kept);
  if (!kept.text.empty()) problems.push_back({u"script", kept.text});
  if (run.log) AddCompilerMessages(run, problems);
  if (run.compiler) ResetCompiler(*run.compiler);
  return problems;
}

std::u16string ProblemLine(const ProjectProblem& problem) {
  std::u16string message = problem.message;
  for (char16_t& c : message)
    if (c == u'\n') c = u' ';
  std::u16string line = problem.field.empty() ? u"" : problem.field + u": ";
  if (problem.warning) line += u"warning: ";
  return line + message;
}
