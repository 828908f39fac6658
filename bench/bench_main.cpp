// One executable for every benchmark, so that each ratio is taken in one run
// (run it through ./run-bench, which interleaves repetitions and prints the
// ratios).
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
