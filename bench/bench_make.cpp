// Whole processes, timed side by side: `railwick make` of the sample project
// (validation, script, compilation of its models, data file), and `railwick compile` of the
// sample vehicle with models, each beside a process that only reads the same
// input files and writes a file of the same size. Each reports its own CPU
// time and peak resident memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_model.h"
#include "platform/files.h"
#include "platform/fs.h"
#include "platform/sjis.h"

extern char** environ;

namespace {

// One tool run and the files it reads, in a scratch copy of examples/.
struct ToolRun {
  std::string folder;               // working folder of both processes
  std::vector<std::string> tool;    // the railwick command line
  std::vector<std::string> inputs;  // every file it reads
  std::string output;               // the data file it writes
  std::string baseline_output;
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

// Runs the tool once (in `run.folder`, writing `run.output`) to learn the
// size of what it writes.
void StartRun(ToolRun& run, std::vector<std::string> tool) {
  tool.insert(tool.begin(), RAILWICK_TOOL);
  run.tool = tool;
  uint64_t size = 0;
  run.ok = RunProcess(run.tool, run.folder, nullptr) && FsFileStat(Utf8ToUtf16(run.output), &size, nullptr);
  run.output_bytes = size;
}

// Copies the named files of examples/ into the scratch folder and runs the
// tool once, to learn the size of what it writes.
ToolRun PrepareRun(const std::string& sub, const std::vector<std::string>& names, const std::string& output,
                   std::vector<std::string> tool) {
  ToolRun run;
  const std::string examples = std::string(RAILWICK_SOURCE_DIR) + "/examples/";
  const std::string scratch = Utf16ToUtf8(FsTempDirectory()) + "make/";
  for (const std::string& folder : {scratch, scratch + "assets", scratch + "models", scratch + "out"})
    FsCreateDirectory(Utf8ToUtf16(folder));
  for (const std::string& name : names) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(Utf8ToUtf16(examples + name), bytes);
    WriteWholeFile(Utf8ToUtf16(scratch + name), bytes.data(), bytes.size());
    run.inputs.push_back(scratch + name);
  }
  run.folder = scratch + sub;
  run.output = scratch + "out/" + output;
  run.baseline_output = scratch + "out/baseline_" + output;
  StartRun(run, std::move(tool));
  return run;
}

// The 21 models the sample project names, with their libraries and textures,
// under examples/models/.
const char* const kProjectModelFiles[] = {"main.mtl",
                                          "sign.mtl",
                                          "main.png",
                                          "sign.png",
                                          "body_glossy.obj",
                                          "body_matte.obj",
                                          "windows.obj",
                                          "interior.obj",
                                          "headlight_rear.obj",
                                          "taillight_rear.obj",
                                          "headlight_front.obj",
                                          "taillight_front.obj",
                                          "shunting_light.obj",
                                          "panta_up.obj",
                                          "panta_down.obj",
                                          "sign_destination.obj",
                                          "sign_plate.obj",
                                          "sign_plate2.obj",
                                          "head_mark.obj",
                                          "option_skirt.obj",
                                          "option_cooler.obj",
                                          "option_sign.obj",
                                          "option_antenna.obj",
                                          "bogie_frame.obj",
                                          "wheel.obj"};

// The sample project as the main job makes it: sounds, images and models.
const ToolRun& SampleProject() {
  static const ToolRun run = [] {
    std::vector<std::string> names = {"sample.xml"};
    for (const char* asset : {"sideview.png", "警笛.wav", "brake.wav", "motor1.wav", "motor2.wav", "gap1.wav",
                              "gap2.wav", "vvvf.wav", "comp.wav"})
      names.push_back(std::string("assets/") + asset);
    for (const char* model : kProjectModelFiles) names.push_back(std::string("models/") + model);
    const std::string out = Utf16ToUtf8(FsTempDirectory()) + "make/out";
    return PrepareRun("", names, "RW-101.z5t", {"make", "sample.xml", "-o", out, "--workshop", "Railwick"});
  }();
  return run;
}

// The sample vehicle with every group of model commands: 25 OBJ models.
const ToolRun& SampleModels() {
  static const ToolRun run = [] {
    std::vector<std::string> names;
    for (const char* file : {"sample_models.txt", "sideview.png", "windows_heated.obj", "sign_led.obj",
                             "underfloor.obj", "container.obj", "container.mtl", "container.png"})
      names.push_back(std::string("models/") + file);
    for (const char* model : kProjectModelFiles) names.push_back(std::string("models/") + model);
    const std::string out = Utf16ToUtf8(FsTempDirectory()) + "make/out/models.z5t";
    return PrepareRun("models/", names, "models.z5t", {"compile", "sample_models.txt", "-o", out});
  }();
  return run;
}

// A heavy vehicle: 21 generated models of 16,562 triangles each as body
// models (the main texture is the first model's), a data file of about
// 35 MB; its peak memory is set beside that.
const ToolRun& HeavyVehicle() {
  static const ToolRun run = [] {
    ToolRun heavy;
    heavy.folder = Utf16ToUtf8(FsTempDirectory()) + "heavy/";
    FsCreateDirectory(Utf8ToUtf16(heavy.folder));
    std::u16string script =
        u"BeginHeader\r\nSECTION\r\nID\t9999\r\nEndHeader\r\nBeginModel\r\nPNGTEXMAIN\t\"heavy10.png\"\r\n";
    for (int i = 0; i < 21; ++i) {
      const std::string name = "heavy" + std::to_string(10 + i);
      const BenchModel model = WriteBenchModel(heavy.folder, name, 16562 * 3);
      heavy.inputs.push_back(model.obj_path);
      script += u"3D本体\t\"" + Utf8ToUtf16(name) + u".obj\"\r\n";
    }
    script += u"EndModel\r\n";
    std::string sjis;
    Utf16ToSjis(script, sjis);
    WriteWholeFile(Utf8ToUtf16(heavy.folder + "heavy.txt"), sjis.data(), sjis.size());
    heavy.output = heavy.folder + "heavy.z5t";
    StartRun(heavy, {"compile", "heavy.txt", "-o", heavy.output});
    return heavy;
  }();
  return run;
}

// A folder of its own for one first make: every input of `run` linked in
// (no copy, no new file), and no mesh file, so the make writes them all.
// Nothing is deleted while the benchmarks run: on a file system without a
// journal (this machine's ext4) a new file is placed past every file deleted
// nearby in the last minute, so removing the mesh files before each make
// would have each make pay for all the removals before it, which no author
// meets. The folders go with the scratch folder at the end.
std::string FreshProjectFolder(const ToolRun& run) {
  static int count = 0;
  const std::string folder = Utf16ToUtf8(FsTempDirectory()) + "first" + std::to_string(count++) + "/";
  for (const char* sub : {"", "assets", "models"}) FsCreateDirectory(Utf8ToUtf16(folder + sub));
  for (const std::string& input : run.inputs)
    if (link(input.c_str(), (folder + input.substr(run.folder.size())).c_str()) != 0) return {};
  return folder;
}

void Measure(benchmark::State& state, const ToolRun& run, const std::vector<std::string>& args,
             bool first_make = false) {
  if (!run.ok) {
    state.SkipWithError("the tool failed on the sample");
    return;
  }
  long peak = 0;
  double cpu_ms = 0;
  for (auto _ : state) {
    std::string folder = run.folder;
    if (first_make) {
      state.PauseTiming();
      folder = FreshProjectFolder(run);
      state.ResumeTiming();
    }
    ProcessCost cost;
    if (folder.empty() || !RunProcess(args, folder, &cost)) {
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
  state.counters["output_bytes"] = static_cast<double>(run.output_bytes);
}

void MeasureTool(benchmark::State& state, const ToolRun& run) {
  Measure(state, run, run.tool);
}

void MeasureBaseline(benchmark::State& state, const ToolRun& run) {
  std::vector<std::string> args = {RAILWICK_BASELINE, run.baseline_output, std::to_string(run.output_bytes)};
  args.insert(args.end(), run.inputs.begin(), run.inputs.end());
  Measure(state, run, args);
}

void BM_MakeProcess(benchmark::State& state) {
  MeasureTool(state, SampleProject());
}
// The same in a folder where no mesh file was written yet: every one is.
// The data file goes where the other makes write theirs, as when models are
// new to a project already made.
void BM_MakeFirstProcess(benchmark::State& state) {
  Measure(state, SampleProject(), SampleProject().tool, true);
}
void BM_MakeBaselineProcess(benchmark::State& state) {
  MeasureBaseline(state, SampleProject());
}
void BM_CompileModelsProcess(benchmark::State& state) {
  MeasureTool(state, SampleModels());
}
void BM_CompileModelsBaselineProcess(benchmark::State& state) {
  MeasureBaseline(state, SampleModels());
}
void BM_CompileHeavyProcess(benchmark::State& state) {
  MeasureTool(state, HeavyVehicle());
}

}  // namespace

BENCHMARK(BM_MakeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MakeFirstProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MakeBaselineProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileModelsProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileModelsBaselineProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileHeavyProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
