#include "compiler/record_walker.h"

#include <cstdio>

namespace {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

WalkStep NextRecord(RecordWalker& w, RecordView& record, std::string& error) {
  if (w.offset >= w.size) return WalkStep::kDone;
  const size_t left = w.size - w.offset;
  if (left < kRecordHeaderBytes) {
    error = "record header at offset " + Hex(w.offset) + " is cut short: " + std::to_string(left) +
            " of 8 bytes left";
    return WalkStep::kBroken;
  }
  const uint8_t* p = w.bytes + w.offset;
  const uint32_t tag = ReadLe32(p);
  const uint32_t length = ReadLe32(p + 4);
  if (length > left - kRecordHeaderBytes) {
    error = "record " + Hex(tag) + " at offset " + Hex(w.offset) + " has length " + std::to_string(length) +
            " but only " + std::to_string(left - kRecordHeaderBytes) + " bytes follow";
    return WalkStep::kBroken;
  }
  record.offset = w.offset;
  record.tag = tag;
  record.length = length;
  record.data = p + kRecordHeaderBytes;
  w.offset += kRecordHeaderBytes + length;
  return WalkStep::kRecord;
}

namespace {

// Walks to the end record; `list`, when given, keeps every record read.
bool WalkStream(const uint8_t* bytes, size_t size, std::vector<RecordView>* list, size_t* records,
                std::string& error) {
  RecordWalker w{bytes, size, 0};
  RecordView r;
  size_t count = 0;
  for (;;) {
    switch (NextRecord(w, r, error)) {
      case WalkStep::kBroken:
        if (records) *records = count;
        return false;
      case WalkStep::kDone:
        if (records) *records = count;
        error = "the stream does not end with the end record (tag 0x1, length 0)";
        return false;
      case WalkStep::kRecord:
        break;
    }
    ++count;
    if (list) list->push_back(r);
    if (r.tag != kEndOfStreamTag) continue;
    if (records) *records = count;
    if (r.length != 0) {
      error = "end record at offset " + Hex(r.offset) + " has length " + std::to_string(r.length) +
              " instead of 0";
      return false;
    }
    if (w.offset != size) {
      error = "end record at offset " + Hex(r.offset) + " is followed by " + std::to_string(size - w.offset) +
              " more bytes";
      return false;
    }
    return true;
  }
}

}  // namespace

bool CheckStreamFraming(const uint8_t* bytes, size_t size, size_t* records, std::string& error) {
  return WalkStream(bytes, size, nullptr, records, error);
}

bool ReadStreamRecords(const uint8_t* bytes, size_t size, std::vector<RecordView>& records, std::string& error) {
  records.clear();
  return WalkStream(bytes, size, &records, nullptr, error);
}
