#include "compiler/data_file.h"

#include <cstring>

#include "compiler/record_walker.h"
#include "platform/fs.h"

namespace {
// Digest, then the seed (the generator value masked to 24 bits); returns the seed.
uint32_t WriteHeader(const Md5Digest& digest, uint32_t random, uint8_t* header) {
  const uint32_t seed = random & kDataFileSeedMask;
  std::memcpy(header, digest.data(), digest.size());
  for (int i = 0; i < 4; ++i) header[kDataFileSeedOffset + i] = static_cast<uint8_t>(seed >> (8 * i));
  return seed;
}
}  // namespace

std::vector<uint8_t> BuildDataFile(const uint8_t* stream, size_t size, uint32_t random) {
  std::vector<uint8_t> file(kDataFileHeaderBytes + size);
  const uint32_t seed = WriteHeader(Md5(stream, size), random, file.data());
  if (size > 0) ScrambleCopy(seed, stream, file.data() + kDataFileHeaderBytes, size);
  return file;
}

bool WriteDataFile(const std::u16string& path, RecordStream& stream, uint32_t random,
                   std::u16string* reason) {
  const size_t blocks = stream.UsedBlocks();
  Md5Context md5;
  Md5Init(md5);
  for (size_t i = 0; i < blocks; ++i) Md5Update(md5, stream.Block(i), stream.BlockSize(i));
  const Md5Digest digest = Md5Final(md5);
  uint8_t header[kDataFileHeaderBytes];
  const uint32_t seed = WriteHeader(digest, random, header);

  uint8_t key[kScrambleKeyBytes];
  MakeScrambleKey(seed, key);
  // Scrambling twice gives the plain stream back.
  auto scramble_blocks = [&] {
    for (size_t i = 0; i < blocks; ++i)
      ScrambleStreamAt(key, i * stream.block_bytes, stream.Block(i), stream.BlockSize(i));
  };
  std::vector<FsBytes> pieces;
  pieces.reserve(blocks + 1);
  pieces.push_back({header, sizeof header});
  for (size_t i = 0; i < blocks; ++i) pieces.push_back({stream.Block(i), stream.BlockSize(i)});
  scramble_blocks();
  // A file that already holds these bytes (a make with nothing changed) is
  // kept with its time renewed: the same bytes again would cost a new
  // file, a flush to disk and a rename.
  const bool written = FsKeepIfSame(path, pieces.data(), pieces.size()) ||
                       FsWriteFileAtomic(path, pieces.data(), pieces.size(), FsFlush::kToDisk, reason);
  scramble_blocks();
  return written;
}

bool OpenDataFile(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream, std::string& error,
                  DataFileHeader* header) {
  stream = file;
  return OpenDataFileInPlace(stream, error, header);
}

bool OpenDataFileInPlace(std::vector<uint8_t>& bytes, std::string& error, DataFileHeader* header) {
  if (bytes.size() < kSmallestDataFileBytes) {
    error = "truncated: " + std::to_string(bytes.size()) + " bytes, but a data file has at least " +
            std::to_string(kSmallestDataFileBytes) + " (digest, seed and end record)";
    bytes.clear();
    return false;
  }
  DataFileHeader stored;
  std::memcpy(stored.digest.data(), bytes.data(), stored.digest.size());
  stored.seed = ReadLe32(bytes.data() + kDataFileSeedOffset);
  if (header) *header = stored;

  uint8_t* stream = bytes.data() + kDataFileHeaderBytes;
  const size_t size = bytes.size() - kDataFileHeaderBytes;
  ScrambleStream(stored.seed, stream, size);
  const Md5Digest computed = Md5(stream, size);
  if (computed != stored.digest) {
    error = "digest mismatch: the stream's MD5 is " + Md5Hex(computed) + " but the file records " +
            Md5Hex(stored.digest) + " (damaged file)";
    bytes.clear();
    return false;
  }
  // Moved down within the buffer: no second buffer of the file's size.
  bytes.erase(bytes.begin(), bytes.begin() + kDataFileHeaderBytes);
  return true;
}
