// Any bytes as a vehicle data file: descramble, digest, record walk and the
// decoding that dump, dump --json and diff do.
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/data_file.h"
#include "compiler/md5.h"
#include "compiler/record_layouts.h"
#include "compiler/record_walker.h"

namespace {

void WalkAndDecode(const std::vector<uint8_t>& stream) {
  RecordWalker walker{stream.data(), stream.size(), 0};
  RecordView record;
  std::string error, line;
  while (NextRecord(walker, record, error) == WalkStep::kRecord) {
    FormatRecordLine(record, line);
    if (const RecordLayout* layout = FindRecordLayout(record.tag)) {
      std::vector<DecodedField> fields;
      DecodeRecordFieldList(*layout, record, fields, error);
    }
  }
  CheckStreamFraming(stream.data(), stream.size(), nullptr, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  std::vector<uint8_t> stream;
  std::string error;
  OpenDataFile(file, stream, error);
  // Random bytes rarely pass the digest: walk them as a plain stream too,
  // and as a file whose digest has been made right.
  WalkAndDecode(file);
  if (size >= kDataFileHeaderBytes + 8) {
    std::vector<uint8_t> plain(file.begin() + kDataFileHeaderBytes, file.end());
    std::vector<uint8_t> built = BuildDataFile(plain.data(), plain.size(), file[16]);
    if (!OpenDataFile(built, stream, error) || stream != plain) __builtin_trap();
    WalkAndDecode(stream);
  }
  return 0;
}
