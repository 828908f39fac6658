// Whole processes, timed side by side: `railwick make` of the sample project
// (validation, script, compilation, data file) beside a process that only
// reads the same input files and writes a file of the same size. Each
// reports its own CPU time and peak resident memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "modelio/file_utils.h"
#include "platform/fs.h"
#include "platform/sjis.h"

extern char** environ;

namespace {

struct MakeSetup {
  std::string folder;               // scratch copy of examples/
  std::vector<std::string> inputs;  // the project file and every file it names
  std::string output_folder;
  size_t output_bytes = 0;
  bool ok = false;
};

struct ProcessCost {
  double cpu_ms = 0;  // user and system time
  long max_rss_kib = 0;
};

// Runs a program in `folder` through measure_process, with its output
// thrown away; false when it could not run or failed.
bool RunProcess(const std::vector<std::string>& args, const std::string& folder, ProcessCost* cost) {
  const std::string report = folder + "measure.txt";
  std::vector<std::string> all = {RAILWICK_MEASURE, report, folder};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (const std::string& a : all) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  if (cost) {
    FILE* f = std::fopen(report.c_str(), "r");
    long long user_us = 0, system_us = 0;
    long rss = 0;
    bool read = f && std::fscanf(f, "%lld %lld %ld", &user_us, &system_us, &rss) == 3;
    if (f) std::fclose(f);
    if (!read) return false;
    cost->cpu_ms = static_cast<double>(user_us + system_us) / 1000.0;
    cost->max_rss_kib = rss;
  }
  return true;
}

void CopyTree(const std::string& from, const std::string& to, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(Utf8ToUtf16(from + name), bytes);
    WriteWholeFile(Utf8ToUtf16(to + name), bytes.data(), bytes.size());
  }
}

const MakeSetup& Setup() {
  static MakeSetup s = [] {
    MakeSetup m;
    const std::string examples = std::string(RAILWICK_SOURCE_DIR) + "/examples/";
    m.folder = Utf16ToUtf8(FsTempDirectory()) + "make/";
    FsCreateDirectory(Utf8ToUtf16(m.folder));
    FsCreateDirectory(Utf8ToUtf16(m.folder + "assets"));
    std::vector<std::string> names = {"sample.xml"};
    for (const char* asset : {"main.png", "sideview.png", "sign.png", "警笛.wav", "brake.wav", "motor1.wav",
                              "motor2.wav", "gap1.wav", "gap2.wav", "vvvf.wav", "comp.wav"})
      names.push_back(std::string("assets/") + asset);
    CopyTree(examples, m.folder, names);
    for (const std::string& name : names) m.inputs.push_back(m.folder + name);
    m.output_folder = m.folder + "out";
    uint64_t size = 0;
    m.ok = RunProcess({RAILWICK_TOOL, "make", "sample.xml", "-o", m.output_folder, "--workshop", "Railwick"},
                      m.folder, nullptr) &&
           FsFileStat(Utf8ToUtf16(m.output_folder + "/RW-101.z5t"), &size, nullptr);
    m.output_bytes = size;
    return m;
  }();
  return s;
}

void Measure(benchmark::State& state, const std::vector<std::string>& args) {
  const MakeSetup& s = Setup();
  if (!s.ok) {
    state.SkipWithError("railwick make of the sample project failed");
    return;
  }
  long peak = 0;
  double cpu_ms = 0;
  for (auto _ : state) {
    ProcessCost cost;
    if (!RunProcess(args, s.folder, &cost)) {
      state.SkipWithError("the process failed");
      break;
    }
    peak = std::max(peak, cost.max_rss_kib);
    cpu_ms += cost.cpu_ms;
  }
  // The process's own CPU time is what the ratio uses: wall time on a shared
  // machine also holds the time other processes ran.
  state.counters["process_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
  state.counters["peak_rss_kib"] = static_cast<double>(peak);
  state.counters["output_bytes"] = static_cast<double>(s.output_bytes);
}

void BM_MakeProcess(benchmark::State& state) {
  Measure(state,
          {RAILWICK_TOOL, "make", "sample.xml", "-o", Setup().output_folder, "--workshop", "Railwick"});
}

void BM_ReadWriteProcess(benchmark::State& state) {
  const MakeSetup& s = Setup();
  std::vector<std::string> args = {RAILWICK_BASELINE, s.output_folder + "/baseline.z5t",
                                   std::to_string(s.output_bytes)};
  args.insert(args.end(), s.inputs.begin(), s.inputs.end());
  Measure(state, args);
}

}  // namespace

BENCHMARK(BM_MakeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadWriteProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
