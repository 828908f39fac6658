// Compiles one generated script of LINES lines once, for instruction counts
// under callgrind (exact, unlike timings on a shared machine):
//   valgrind --tool=callgrind --toggle-collect='Compile*' compile_once LINES
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/bench_script.h"
#include "compiler/vehicle_compiler.h"
#include "platform/fs.h"

int main(int argc, char** argv) {
  if (argc < 2 || std::atoi(argv[1]) < 7) {
    std::fprintf(stderr, "usage: compile_once LINES (7 or more)\n");
    return 2;
  }
  std::string text = BenchScript(std::atoi(argv[1]));
  const std::u16string folder = FsTempDirectory();
  auto compiler = std::make_unique<VehicleCompiler>();
  SetScriptPath(*compiler, folder + u"Bench.txt");
  compiler->output_override = folder + u"compile_once.z5t";
  LogBuffer log;
  const uint32_t result = Compile(*compiler, text.data(), text.size(), log);
  ResetCompiler(*compiler);
  FsRemoveTree(folder);
  std::printf("%s %s lines\n", result == 0 ? "compiled" : "FAILED", argv[1]);
  return result == 0 ? 0 : 1;
}
