// The vehicle data file: MD5 digest of the stream, the generator value that
// keys the scrambler, and the scrambled stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/md5.h"
#include "platform/msvc_random.h"  // NextProcessRandom, ResetProcessRandom
#include "compiler/scrambler.h"    // ScrambleStream

constexpr size_t kDataFileHeaderBytes = 20;
constexpr size_t kDataFileSeedOffset = 16;
constexpr uint32_t kDataFileSeedMask = 0xFFFFFF;
// Digest, seed and the end record: nothing shorter can be a data file.
constexpr size_t kSmallestDataFileBytes = kDataFileHeaderBytes + 8;

// Digest, the masked generator value, and the scrambled stream. `random` is
// a value of NextProcessRandom(); it is masked to 24 bits.
std::vector<uint8_t> BuildDataFile(const uint8_t* stream, size_t size, uint32_t random);
// The data file without a copy: writes the file's header (digest and seed,
// kDataFileHeaderBytes) for `stream` and scrambles the stream in place, so
// header then stream are the file. Returns the seed; ScrambleStream with it
// gives the stream back.
uint32_t SealDataFileStream(uint8_t* stream, size_t size, uint32_t random, uint8_t* header);

struct DataFileHeader {
  Md5Digest digest{};  // as stored in the file
  uint32_t seed = 0;
};

// Descrambles a data file and checks its digest. On success `stream` holds
// the plain records; otherwise it is empty and `error` says why in one
// line. `header`, when given, receives the stored digest and seed of a file
// long enough to be checked.
bool OpenDataFile(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream, std::string& error,
                  DataFileHeader* header = nullptr);
