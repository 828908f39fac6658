// Scrambling as the writer does it (stream into the file buffer) and
// descrambling as the reader does it (file into the stream buffer), and the
// in-place form, beside memcpy between the same two buffers. 1 MiB stays in
// the cache; 16 MiB does not.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench_buffers.h"
#include "compiler/scrambler.h"

namespace {

constexpr uint32_t kSeed = 41;

// The destination, touched once before timing like the source.
std::vector<uint8_t>& Target(size_t bytes) {
  static std::vector<uint8_t> target;
  target.assign(bytes, 0);
  return target;
}

void Report(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_Scramble(benchmark::State& state) {
  const std::vector<uint8_t>& stream = BenchBuffer(static_cast<size_t>(state.range(0)) * kMiB);
  std::vector<uint8_t>& file = Target(stream.size());
  for (auto _ : state) {
    ScrambleCopy(kSeed, stream.data(), file.data(), stream.size());
    benchmark::ClobberMemory();
  }
  Report(state, stream.size());
}

void BM_Descramble(benchmark::State& state) {
  const std::vector<uint8_t>& file = BenchBuffer(static_cast<size_t>(state.range(0)) * kMiB);
  std::vector<uint8_t>& stream = Target(file.size());
  for (auto _ : state) {
    ScrambleCopy(kSeed, file.data(), stream.data(), file.size());
    benchmark::ClobberMemory();
  }
  // Descrambling gives back what scrambling was given.
  std::vector<uint8_t> again(file.size());
  ScrambleCopy(kSeed, stream.data(), again.data(), again.size());
  if (again != file) state.SkipWithError("descrambling does not restore the bytes");
  Report(state, file.size());
}

void BM_ScrambleInPlace(benchmark::State& state) {
  std::vector<uint8_t>& bytes = Target(static_cast<size_t>(state.range(0)) * kMiB);
  for (auto _ : state) {
    ScrambleStream(kSeed, bytes.data(), bytes.size());
    benchmark::ClobberMemory();
  }
  Report(state, bytes.size());
}

void BM_Memcpy(benchmark::State& state) {
  const std::vector<uint8_t>& source = BenchBuffer(static_cast<size_t>(state.range(0)) * kMiB);
  std::vector<uint8_t>& target = Target(source.size());
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::ClobberMemory();
  }
  Report(state, source.size());
}

}  // namespace

BENCHMARK(BM_Scramble)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Descramble)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrambleInPlace)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);
