// What every record of a vehicle stream holds: a table from tag to the name
// of the command that writes it and the fields of its data, and a decoder
// that turns a record into readable text for listings.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/record_walker.h"

enum class FieldKind : uint8_t {
  kNone,       // end of the field list
  kU16,        // decimal
  kHex16,      // hexadecimal
  kInt32,      // a script number, stored as its 32-bit two's complement
  kF32,        // IEEE single precision
  kText,       // fixed UTF-16LE field of `units` units
  kFile,       // u32 size, then that many bytes of an embedded file
  kTime64,     // seconds since 1970-01-01 UTC
  kCategory,   // u32 vehicle category code
  kBogieKind,  // u32 bogie kind code
  kLampKind,   // u32 lamp kind code
  kFlags,      // u32 vehicle-extension bits
};

struct FieldLayout {
  FieldKind kind = FieldKind::kNone;
  uint8_t units = 0;  // text fields only
  const char* label = nullptr;
};

constexpr size_t kMaxRecordFields = 6;

struct RecordLayout {
  uint32_t tag;
  const char* name;  // the command that writes it, or what it is in brackets
  FieldLayout fields[kMaxRecordFields];
};

// Null for a tag no command writes.
const RecordLayout* FindRecordLayout(uint32_t tag);
// The whole table.
const RecordLayout* RecordLayouts(size_t* count);

// One decoded field of a record.
struct DecodedField {
  const char* label = nullptr;
  FieldKind kind = FieldKind::kNone;
  std::string display;  // as the listing shows it
  std::string text;     // kText: the text itself, UTF-8, up to its first NUL
  int64_t integer = 0;  // integer kinds, codes, file sizes and times
  double real = 0.0;    // kF32
};

// The fields of a record in order. False when the data does not fit the
// layout; `fields` then holds what could be decoded and `error` says why.
// Reads nothing outside the record.
bool DecodeRecordFieldList(const RecordLayout& layout, const RecordView& record,
                           std::vector<DecodedField>& fields, std::string& error);

// The fields as "label=value" pieces separated by two spaces. False when the
// data does not fit the layout (too short, too long, or an embedded size
// running past the record); `fields` then holds what could be decoded and
// `error` says what is wrong. Reads nothing outside the record.
bool DecodeRecordFields(const RecordLayout& layout, const RecordView& record, std::string& fields,
                        std::string& error);

// True when the record's data fits the layout of its tag, or its tag has no
// layout; otherwise false and `error` says why.
bool RecordFitsLayout(const RecordView& record, std::string& error);

// One line of a record listing: offset and tag in hex, length, name and the
// decoded fields. False when a known record does not fit its layout; the
// line then ends with "!! " and the reason. Unknown tags are not an error.
bool FormatRecordLine(const RecordView& record, std::string& line);
// The column heading that goes above those lines.
const char* RecordListingHeading();
