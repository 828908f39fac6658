#include "compiler/data_file.h"

#include <cstring>

#include "compiler/record_walker.h"

namespace {
uint32_t WriteHeader(const uint8_t* stream, size_t size, uint32_t random, uint8_t* header) {
  const uint32_t seed = random & kDataFileSeedMask;
  const Md5Digest digest = Md5(stream, size);
  std::memcpy(header, digest.data(), digest.size());
  for (int i = 0; i < 4; ++i) header[kDataFileSeedOffset + i] = static_cast<uint8_t>(seed >> (8 * i));
  return seed;
}
}  // namespace

std::vector<uint8_t> BuildDataFile(const uint8_t* stream, size_t size, uint32_t random) {
  std::vector<uint8_t> file(kDataFileHeaderBytes + size);
  const uint32_t seed = WriteHeader(stream, size, random, file.data());
  if (size > 0) ScrambleCopy(seed, stream, file.data() + kDataFileHeaderBytes, size);
  return file;
}

uint32_t SealDataFileStream(uint8_t* stream, size_t size, uint32_t random, uint8_t* header) {
  const uint32_t seed = WriteHeader(stream, size, random, header);
  if (size > 0) ScrambleStream(seed, stream, size);
  return seed;
}

bool OpenDataFile(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream, std::string& error,
                  DataFileHeader* header) {
  stream.clear();
  if (file.size() < kSmallestDataFileBytes) {
    error = "truncated: " + std::to_string(file.size()) + " bytes, but a data file has at least " +
            std::to_string(kSmallestDataFileBytes) + " (digest, seed and end record)";
    return false;
  }
  DataFileHeader stored;
  std::memcpy(stored.digest.data(), file.data(), stored.digest.size());
  stored.seed = ReadLe32(file.data() + kDataFileSeedOffset);
  if (header) *header = stored;

  const size_t size = file.size() - kDataFileHeaderBytes;
  stream.resize(size);
  ScrambleCopy(stored.seed, file.data() + kDataFileHeaderBytes, stream.data(), size);
  const Md5Digest computed = Md5(stream.data(), size);
  if (computed != stored.digest) {
    error = "digest mismatch: the stream's MD5 is " + Md5Hex(computed) + " but the file records " +
            Md5Hex(stored.digest) + " (damaged file)";
    stream.clear();
    return false;
  }
  return true;
}
