// Buffers of fixed pseudo-random bytes shared by the throughput benchmarks:
// made once per size and touched whole before any timing starts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

inline const std::vector<uint8_t>& BenchBuffer(size_t bytes) {
  static std::map<size_t, std::vector<uint8_t>> buffers;
  std::vector<uint8_t>& buffer = buffers[bytes];
  if (buffer.size() != bytes) {
    buffer.resize(bytes);
    uint32_t x = 2463534242u;
    for (uint8_t& b : buffer) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      b = static_cast<uint8_t>(x);
    }
  }
  return buffer;
}

constexpr int64_t kMiB = 1 << 20;
