// The keystream of the vehicle data file: a 256-byte key drawn from the
// subtractive generator, XORed over the stream and repeated every 256 bytes.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kScrambleKeyBytes = 256;

// Key byte j is the low 8 bits of the j-th value drawn after seeding with
// `key_seed` (read as a signed 32-bit number, as the generator takes it).
void MakeScrambleKey(uint32_t key_seed, uint8_t key[kScrambleKeyBytes]);

// XORs `count` bytes in place with the key of `key_seed`, byte i with key
// byte i mod 256. Applying it twice restores the bytes.
void ScrambleStream(uint32_t key_seed, uint8_t* bytes, size_t count);
// The same into another buffer, so a writer copies and scrambles in one pass.
// `src` and `dst` must not overlap.
void ScrambleCopy(uint32_t key_seed, const uint8_t* src, uint8_t* dst, size_t count);
// XORs in place `count` bytes that lie `stream_offset` bytes into the stream
// with the key bytes of their positions, the key made once by
// MakeScrambleKey: a stream scrambled piece by piece, in pieces of any size,
// equals the stream scrambled whole.
void ScrambleStreamAt(const uint8_t key[kScrambleKeyBytes], size_t stream_offset, uint8_t* bytes,
                      size_t count);
