#include "compiler/record_stream.h"

#include <cstring>

bool WriteBytes(RecordStream& s, size_t count, const void* data) {
  if (s.overflowed || count > kStreamLimitBytes - s.written) {
    s.overflowed = true;
    return false;
  }
  if (count == 0) return true;  // `data` may then be null, which memcpy must not see
  const auto* p = static_cast<const uint8_t*>(data);
  // Most records are small and fit in the block being filled.
  if (count <= s.fill_left) {
    std::memcpy(s.fill, p, count);
    s.fill += count;
    s.fill_left -= count;
    s.written += count;
    return true;
  }
  while (count > 0) {
    const size_t block = s.written / s.block_bytes, at = s.written % s.block_bytes;
    // Not zero-filled: a page is first touched when bytes are written to it.
    if (block == s.blocks.size()) s.blocks.emplace_back(new uint8_t[s.block_bytes]);
    const size_t piece = count < s.block_bytes - at ? count : s.block_bytes - at;
    std::memcpy(s.blocks[block].get() + at, p, piece);
    s.written += piece;
    s.fill = s.blocks[block].get() + at + piece;
    s.fill_left = s.block_bytes - at - piece;
    p += piece;
    count -= piece;
  }
  return true;
}

bool WriteU32(RecordStream& s, uint32_t value) {
  const uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  return WriteBytes(s, 4, b);
}

bool WriteU16(RecordStream& s, uint16_t value) {
  const uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
  return WriteBytes(s, 2, b);
}

bool WriteF32(RecordStream& s, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  return WriteU32(s, bits);
}

bool WriteText(RecordStream& s, size_t units, const std::u16string& text) {
  std::vector<uint8_t> field(units * 2, 0);
  for (size_t i = 0; i < units && i < text.size(); ++i) {
    field[2 * i] = static_cast<uint8_t>(text[i]);
    field[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
  return WriteBytes(s, field.size(), field.data());
}

bool WriteRecordHeader(RecordStream& s, uint32_t tag, uint32_t length) {
  return WriteU32(s, tag) && WriteU32(s, length);
}

bool ReadStreamBytes(const RecordStream& s, size_t offset, size_t count, void* out) {
  if (offset > s.written || count > s.written - offset) return false;
  auto* p = static_cast<uint8_t*>(out);
  while (count > 0) {
    const size_t block = offset / s.block_bytes, at = offset % s.block_bytes;
    const size_t piece = count < s.block_bytes - at ? count : s.block_bytes - at;
    std::memcpy(p, s.blocks[block].get() + at, piece);
    offset += piece;
    p += piece;
    count -= piece;
  }
  return true;
}

std::vector<uint8_t> StreamBytes(const RecordStream& s) {
  std::vector<uint8_t> bytes(s.size());
  ReadStreamBytes(s, 0, bytes.size(), bytes.data());
  return bytes;
}
