// One executable for every benchmark, so that each ratio is taken in one run
// (run it through ./run-bench, which interleaves repetitions and prints the
// ratios). The scratch folder the benchmarks write in goes when they end.
#include <benchmark/benchmark.h>

#include "platform/fs.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  FsRemoveTree(FsTempDirectory());
  return 0;
}
