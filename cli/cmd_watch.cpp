// railwick watch PROJECT.xml [-o OUTDIR] [--workshop NAME]: makes data, then
// makes it again whenever the project file or a file it names changes.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli/cli.h"
#include "cli/project_log.h"
#include "cli/progress_lines.h"
#include "cli/project_args.h"
#include "compiler/record_walker.h"
#include "datamake/make_data.h"
#include "datamake/referenced_files.h"
#include "platform/file_watch.h"
#include "platform/fs.h"
#include "platform/sjis.h"

namespace {

const char kUsage[] = "watch PROJECT.xml [-o OUTDIR] [--workshop NAME]";
constexpr int kSettleMs = 300;  // a save often arrives as several writes

size_t CountRecords(const VehicleCompiler& c) {
  RecordWalker walker{c.stream.bytes.data(), c.stream.size(), 0};
  RecordView record;
  std::string error;
  size_t n = 0;
  while (NextRecord(walker, record, error) == WalkStep::kRecord) ++n;
  return n;
}

// One build: re-reads the project, makes data and prints the summary line.
// The files to watch come back in `watched`.
void Build(ProjectCommand& command, const CliArgs& args, std::vector<std::u16string>& watched) {
  const auto start = std::chrono::steady_clock::now();
  ProjectCommand fresh;
  if (fresh.Start(args, kUsage) != kExitOk) {
    std::printf("watch: the project could not be read; waiting for the next change\n");
    std::fflush(stdout);
    return;
  }
  MakeDataOptions options;
  if (ApplyOutputOption(fresh, options) != kExitOk) return;
  command.project = std::move(fresh.project);
  ProgressLines progress;
  MakeDataResult run = RunMakeData(*command.project, options, fresh.notifier, &progress);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  size_t records = run.compiler ? CountRecords(*run.compiler) : 0;
  size_t errors = run.log ? PrintProjectLog(*run.log, run.script_lines, fresh.project_path, true, stdout) : 0;
  if (run.result == kResultOk) {
    std::printf("watch: rebuilt %s in %.0f ms: %zu records, %zu errors\n",
                DisplayPath(run.data_file).c_str(), ms, records, errors);
  } else {
    std::printf("watch: failed in %.0f ms (%zu errors); the previous data file is unchanged\n", ms, errors);
  }
  std::fflush(stdout);
  if (run.compiler) ResetCompiler(*run.compiler);
  watched = ReferencedFiles(*command.project, FsAbsolute(Utf8ToUtf16(command.project_file)));
}

}  // namespace

int CliWatch(const CliArgs& all_args) {
  // --max-builds N stops after N builds (for scripts and tests). Every
  // build reads the arguments again from the project's folder, so the
  // paths among them are made absolute first.
  CliArgs args;
  long max_builds = -1;
  auto absolute = [](const std::string& path) { return Utf16ToUtf8(FsAbsolute(Utf8ToUtf16(path))); };
  for (size_t i = 0; i < all_args.size(); ++i) {
    const std::string& a = all_args[i];
    if (a == "--max-builds" && i + 1 < all_args.size()) {
      max_builds = std::strtol(all_args[++i].c_str(), nullptr, 10);
    } else if ((a == "-o" || a == "--workshop") && i + 1 < all_args.size()) {
      args.push_back(a);
      args.push_back(a == "-o" ? absolute(all_args[++i]) : all_args[++i]);
    } else {
      args.push_back(a.empty() || a[0] == '-' ? a : absolute(a));
    }
  }
  ProjectCommand command;
  if (int status = command.Start(args, kUsage); status != kExitOk) return status;
  CatchInterrupt();
  auto watcher = CreateFileWatcher();
  std::vector<std::u16string> watched;
  long builds = 0;
  while (true) {
    Build(command, args, watched);
    if (++builds == max_builds) break;
    if (!watcher->Watch(watched)) {
      CliError("cannot watch the project's files");
      return kExitFailed;
    }
    std::printf("watch: watching %zu files; Ctrl-C stops\n", watched.size());
    std::fflush(stdout);
    std::vector<std::u16string> changed;
    FileWatcher::Event event = watcher->Wait(-1, &changed);
    // Let the change settle: wait until the files are quiet for a moment.
    while (event == FileWatcher::Event::kChanged) event = watcher->Wait(kSettleMs, &changed);
    if (event == FileWatcher::Event::kInterrupted) break;
    if (event == FileWatcher::Event::kError) {
      CliError("watching failed");
      return kExitFailed;
    }
    if (!changed.empty()) std::printf("watch: %s changed\n", DisplayPath(changed.front()).c_str());
  }
  std::printf("watch: stopped\n");
  return kExitOk;
}
