// The compiled vehicle: tagged little-endian records appended in script
// order. Every append is bounded by the 128 MiB limit of one vehicle; an
// append past it is dropped and marks the stream as overflowed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kStreamLimitBytes = 0x8000000;  // 128 MiB

struct RecordStream {
  std::vector<uint8_t> bytes;
  bool overflowed = false;

  void Clear() {
    bytes.clear();
    overflowed = false;
  }
  size_t size() const { return bytes.size(); }
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
