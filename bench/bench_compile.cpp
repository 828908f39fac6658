// Compile cost against script length: scripts of 100, 1,000 and 10,000
// lines (bench_script.h), compiled whole (data file written) by a fresh
// compiler each time, as Make data does.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "bench/bench_script.h"
#include "compiler/vehicle_compiler.h"
#include "platform/fs.h"

namespace {

const std::string& Script(int lines) {
  static std::map<int, std::string> scripts;
  std::string& script = scripts[lines];
  if (script.empty()) script = BenchScript(lines);
  return script;
}

void BM_CompileScript(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const std::string& script = Script(lines);
  const std::u16string folder = FsTempDirectory();
  std::string text;
  for (auto _ : state) {
    auto compiler = std::make_unique<VehicleCompiler>();
    SetScriptPath(*compiler, folder + u"Bench.txt");
    compiler->output_override = folder + u"bench_compile.z5t";
    text = script;  // the compiler cuts its text in place
    LogBuffer log;
    if (Compile(*compiler, text.data(), text.size(), log) != 0) {
      state.SkipWithError("the script did not compile");
      break;
    }
    ResetCompiler(*compiler);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * lines);
  state.counters["lines"] = lines;
}

}  // namespace

BENCHMARK(BM_CompileScript)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
