// The vehicle data file: MD5 digest of the stream, the generator value that
// keys the scrambler, and the scrambled stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kDataFileHeaderBytes = 20;

// The next value of the process-wide generator (the MSVC rand recurrence
// from its default state): 41, 18467, 6334, ...
uint32_t NextProcessRandom();
// Restarts the process-wide generator from its default state (tests only).
void ResetProcessRandom();

// XORs `count` bytes with the 256-byte key drawn from the subtractive
// generator seeded with `key_seed`. Applying it twice restores the bytes.
void ScrambleStream(uint32_t key_seed, uint8_t* bytes, size_t count);

// Digest, the masked generator value, and the scrambled stream. `random` is
// a value of NextProcessRandom(); it is masked to 24 bits.
std::vector<uint8_t> BuildDataFile(const uint8_t* stream, size_t size, uint32_t random);

// Descrambles a data file and checks its digest. On success `stream` holds
// the plain records; otherwise `error` says why in one line.
bool OpenDataFile(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream, std::string& error);
