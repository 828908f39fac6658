// The vehicle data file: MD5 digest of the stream, the generator value that
// keys the scrambler, and the scrambled stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/md5.h"
#include "compiler/record_stream.h"
#include "platform/msvc_random.h"  // NextProcessRandom, ResetProcessRandom
#include "compiler/scrambler.h"    // MakeScrambleKey, ScrambleStream

constexpr size_t kDataFileHeaderBytes = 20;
constexpr size_t kDataFileSeedOffset = 16;
constexpr uint32_t kDataFileSeedMask = 0xFFFFFF;
// Digest, seed and the end record: nothing shorter can be a data file.
constexpr size_t kSmallestDataFileBytes = kDataFileHeaderBytes + 8;

// Digest, the masked generator value, and the scrambled stream. `random` is
// a value of NextProcessRandom(); it is masked to 24 bits.
std::vector<uint8_t> BuildDataFile(const uint8_t* stream, size_t size, uint32_t random);
// Writes `stream` as the data file `path`, never half-written (through a
// temporary file renamed into place, flushed to disk): the digest is taken
// block by block and the blocks are scrambled in place for the write and
// restored after it, so the stream is never held twice. False, with the
// system's reason in `reason`, when the file could not be written; the file
// at `path` is then left as it was.
bool WriteDataFile(const std::u16string& path, RecordStream& stream, uint32_t random, std::u16string* reason);

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
// The same on the bytes of a file read whole, in place: on success `bytes`
// holds the plain records (descrambled where they lay, the header dropped),
// so a large file is held once; otherwise it is empty.
bool OpenDataFileInPlace(std::vector<uint8_t>& bytes, std::string& error, DataFileHeader* header = nullptr);
