// Walks the records of a plain (descrambled) vehicle stream: tag, length
// and data, each checked against the bytes that are really there, so a
// damaged or hostile stream gives an error and never a read past its end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kRecordHeaderBytes = 8;
constexpr uint32_t kEndOfStreamTag = 0x0001;

inline uint16_t ReadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct RecordView {
  size_t offset = 0;  // of the tag, from the start of the stream
  uint32_t tag = 0;
  uint32_t length = 0;
  const uint8_t* data = nullptr;  // `length` bytes, all inside the stream
};

struct RecordWalker {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  size_t offset = 0;  // of the next record
};

enum class WalkStep { kRecord, kDone, kBroken };

// kRecord with `record` filled; kDone when the bytes are used up exactly;
// kBroken with a one-line `error` when a header is cut short or a length
// runs past the end (the walker then stays where it is).
WalkStep NextRecord(RecordWalker& w, RecordView& record, std::string& error);

// The framing of a whole stream: complete records one after another, the
// last being the end record (tag 1, length 0) ending exactly at the end.
// `records` counts the records read, the end record included.
bool CheckStreamFraming(const uint8_t* bytes, size_t size, size_t* records, std::string& error);

// The same check, keeping the records read: up to and including the end
// record, or up to where the framing breaks. Nothing after the end record
// is taken for a record.
bool ReadStreamRecords(const uint8_t* bytes, size_t size, std::vector<RecordView>& records, std::string& error);
