// Our MD5 beside OpenSSL's on the same buffers of 1, 16 and 128 MiB.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstring>

#include "bench/bench_buffers.h"
#include "compiler/md5.h"

namespace {

Md5Digest OpenSslMd5(const std::vector<uint8_t>& data) {
  Md5Digest digest{};
  unsigned int length = 0;
  EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_md5(), nullptr);
  return digest;
}

void BM_Md5(benchmark::State& state) {
  const std::vector<uint8_t>& data = BenchBuffer(static_cast<size_t>(state.range(0)) * kMiB);
  for (auto _ : state) {
    Md5Digest digest = Md5(data.data(), data.size());
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
}

void BM_Md5OpenSsl(benchmark::State& state) {
  const std::vector<uint8_t>& data = BenchBuffer(static_cast<size_t>(state.range(0)) * kMiB);
  if (OpenSslMd5(data) != Md5(data.data(), data.size())) {
    state.SkipWithError("the two digests differ");
    return;
  }
  for (auto _ : state) {
    Md5Digest digest = OpenSslMd5(data);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
}

}  // namespace

BENCHMARK(BM_Md5)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Md5OpenSsl)->Arg(1)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);
