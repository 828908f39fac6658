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

constexpr int kSettleMs = 300;  // a save often arrives as several writes

// The records the walker would read, up to where the framing breaks, read
// header by header from the stream's blocks.
size_t CountRecords(const VehicleCompiler& c) {
  const size_t size = c.stream.size();
  size_t n = 0;
  uint8_t header[kRecordHeaderBytes];
  for (size_t at = 0; ReadStreamBytes(c.stream, at, sizeof header, header); ++n) {
    const uint32_t length = ReadLe32(header + 4);
    if (length > size - at - sizeof header) break;
    at += sizeof header + length;
  }
  return n;
}

// One build: re-reads the project, watches the files it names and makes
// data, printing the summary line. The files are watched before the build
// reads them, so a save during the build starts the next one. `watched`
// counts them; false when none can be watched.
bool Build(ProjectCommand& command, const ProjectOptions& arguments, FileWatcher& watcher, size_t& watched) {
  const auto start = std::chrono::steady_clock::now();
  ProjectCommand fresh;
  if (fresh.Start(arguments) != kExitOk) {
    std::printf("watch: the project could not be read; waiting for the next change\n");
    std::fflush(stdout);
    return watched > 0;  // the files of the last build stay watched
  }
  MakeDataOptions options;
  if (ApplyOutputOption(fresh, options) != kExitOk) return watched > 0;
  command.project = std::move(fresh.project);
  const std::vector<std::u16string> files = ReferencedFiles(*command.project, fresh.project_path);
  watched = files.size();
  const bool watching = watcher.Watch(files);
  ProgressLines progress;
  MakeDataResult run = RunMakeData(*command.project, options, fresh.notifier, &progress);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  size_t records = run.compiler ? CountRecords(*run.compiler) : 0;
  size_t errors = run.log ? PrintProjectLog(*run.log, run.script_lines, fresh.project_path, true, stdout) : 0;
  if (run.written) {
    std::printf("watch: rebuilt %s in %.0f ms: %zu records, %zu errors\n",
                DisplayPath(run.data_file).c_str(), ms, records, errors);
  } else {
    std::printf("watch: failed in %.0f ms (%zu errors); the previous data file is unchanged\n", ms, errors);
  }
  std::fflush(stdout);
  if (run.compiler) ResetCompiler(*run.compiler);
  return watching;
}

}  // namespace

int CliWatch(const WatchOptions& options) {
  // Every build reads the arguments again from the project's folder, so
  // the paths among them are made absolute first.
  auto absolute = [](const std::string& path) { return Utf16ToUtf8(FsAbsolute(Utf8ToUtf16(path))); };
  ProjectOptions args = options;
  args.project_file = absolute(args.project_file);
  if (!args.output.empty()) args.output = absolute(args.output);
  const long max_builds = options.max_builds;
  ProjectCommand command;
  if (int status = command.Start(args); status != kExitOk) return status;
  CatchInterrupt();
  auto watcher = CreateFileWatcher([](const std::u16string& folder, const std::string& reason) {
    std::fprintf(stderr, "watch: cannot watch %s: %s\n", DisplayPath(folder).c_str(), reason.c_str());
  });
  size_t watched = 0;
  long builds = 0;
  while (true) {
    const bool watching = Build(command, args, *watcher, watched);
    if (++builds == max_builds) break;
    if (!watching) {
      CliError("cannot watch the project's files");
      return kExitFailed;
    }
    std::printf("watch: watching %zu files; Ctrl-C stops\n", watched);
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
