// The compiled vehicle: tagged little-endian records appended in script
// order. Every append is bounded by the 128 MiB limit of one vehicle; an
// append past it is dropped and marks the stream as overflowed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr size_t kStreamLimitBytes = 0x8000000;  // 128 MiB
constexpr size_t kStreamBlockBytes = 1 << 20;

// The bytes lie in blocks of one size, filled in order: growing adds a block
// and never moves what is written, so a heavy vehicle is never held twice
// (a buffer that doubles holds the old and the new copy while it moves).
struct RecordStream {
  explicit RecordStream(size_t block_bytes_ = kStreamBlockBytes)
      : block_bytes(block_bytes_ ? block_bytes_ : 1) {}

  std::vector<std::unique_ptr<uint8_t[]>> blocks;  // only the first size() bytes are written
  size_t block_bytes;
  size_t written = 0;
  bool overflowed = false;
  uint8_t* fill = nullptr;  // the next byte of the block being filled
  size_t fill_left = 0;     // bytes left in that block

  // Empties the stream; its blocks are kept for the next compilation.
  void Clear() {
    written = 0;
    overflowed = false;
    fill = nullptr;
    fill_left = 0;
  }
  // Empties the stream and frees its blocks.
  void Release() {
    Clear();
    blocks.clear();
    blocks.shrink_to_fit();
  }
  size_t size() const { return written; }
  bool empty() const { return written == 0; }
  // Block `i` and how many of its bytes are written: block_bytes for every
  // block but the last in use.
  uint8_t* Block(size_t i) const { return blocks[i].get(); }
  size_t BlockSize(size_t i) const {
    const size_t start = i * block_bytes;
    return start >= written ? 0 : written - start < block_bytes ? written - start : block_bytes;
  }
  // Blocks that hold written bytes.
  size_t UsedBlocks() const { return (written + block_bytes - 1) / block_bytes; }
};

// False (and nothing written) when the stream would pass its limit.
bool WriteBytes(RecordStream& s, size_t count, const void* data);
bool WriteU32(RecordStream& s, uint32_t value);
bool WriteU16(RecordStream& s, uint16_t value);
bool WriteF32(RecordStream& s, float value);
// A fixed text field of `units` UTF-16LE units: cut to that length, NUL
// padded when shorter (so a text of exactly `units` has no terminator).
bool WriteText(RecordStream& s, size_t units, const std::u16string& text);
// Tag and length of a record.
bool WriteRecordHeader(RecordStream& s, uint32_t tag, uint32_t length);
// A record without data (section markers, end of stream).
inline bool WriteMarker(RecordStream& s, uint32_t tag) { return WriteRecordHeader(s, tag, 0); }

// Copies `count` bytes from `offset` of the stream into `out`; false (and
// nothing copied) when they run past its end.
bool ReadStreamBytes(const RecordStream& s, size_t offset, size_t count, void* out);
// The whole stream in one buffer: a second copy, for small streams and tests.
std::vector<uint8_t> StreamBytes(const RecordStream& s);
