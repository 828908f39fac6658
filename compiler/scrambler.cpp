#include "compiler/scrambler.h"

#include "compiler/subtractive_generator.h"

void MakeScrambleKey(uint32_t key_seed, uint8_t key[kScrambleKeyBytes]) {
  SubtractiveGenerator g;
  SeedSubtractiveGenerator(g, static_cast<int32_t>(key_seed));
  for (size_t j = 0; j < kScrambleKeyBytes; ++j) key[j] = static_cast<uint8_t>(NextSubtractiveValue(g));
}

// The loops run over whole 256-byte blocks with a fixed inner count and
// non-aliasing pointers: written as one loop with `i & 255`, GCC leaves the
// XOR scalar and it runs at a fraction of memcpy's speed.
namespace {

void XorBlocksInPlace(const uint8_t* __restrict key, uint8_t* __restrict bytes, size_t count) {
  size_t i = 0;
  for (; count - i >= kScrambleKeyBytes; i += kScrambleKeyBytes) {
    uint8_t* __restrict block = bytes + i;
    for (size_t j = 0; j < kScrambleKeyBytes; ++j) block[j] ^= key[j];
  }
  for (size_t j = 0; i + j < count; ++j) bytes[i + j] ^= key[j];
}

void XorBlocksCopy(const uint8_t* __restrict key, const uint8_t* __restrict src, uint8_t* __restrict dst,
                   size_t count) {
  size_t i = 0;
  for (; count - i >= kScrambleKeyBytes; i += kScrambleKeyBytes) {
    const uint8_t* __restrict in = src + i;
    uint8_t* __restrict out = dst + i;
    for (size_t j = 0; j < kScrambleKeyBytes; ++j) out[j] = in[j] ^ key[j];
  }
  for (size_t j = 0; i + j < count; ++j) dst[i + j] = src[i + j] ^ key[j];
}

}  // namespace

void ScrambleStream(uint32_t key_seed, uint8_t* bytes, size_t count) {
  uint8_t key[kScrambleKeyBytes];
  MakeScrambleKey(key_seed, key);
  XorBlocksInPlace(key, bytes, count);
}

void ScrambleCopy(uint32_t key_seed, const uint8_t* src, uint8_t* dst, size_t count) {
  uint8_t key[kScrambleKeyBytes];
  MakeScrambleKey(key_seed, key);
  XorBlocksCopy(key, src, dst, count);
}

void ScrambleStreamAt(const uint8_t key[kScrambleKeyBytes], size_t stream_offset, uint8_t* bytes,
                      size_t count) {
  // The key turned so that the piece starts at its byte 0.
  uint8_t turned[kScrambleKeyBytes];
  for (size_t j = 0; j < kScrambleKeyBytes; ++j) turned[j] = key[(stream_offset + j) % kScrambleKeyBytes];
  XorBlocksInPlace(turned, bytes, count);
}
