#include "cli/opened_data_file.h"

#include <cstdio>

#include "compiler/record_layouts.h"
#include "platform/fs.h"
#include "platform/sjis.h"

void OpenDataFileArgument(const std::string& path, OpenedDataFile& opened) {
  opened.path = path;
  // Read straight into the stream and descrambled there: a large file is held once.
  if (!FsReadFile(FsAbsolute(Utf8ToUtf16(path)), opened.stream)) {
    opened.stream.clear();
    opened.faults.push_back("cannot read the file");
    return;
  }
  opened.readable = true;
  opened.file_bytes = opened.stream.size();
  std::string error;
  if (!OpenDataFileInPlace(opened.stream, error, &opened.header)) {
    opened.faults.push_back(error);
    return;
  }
  if (!ReadStreamRecords(opened.stream.data(), opened.stream.size(), opened.records, error)) opened.framing = error;

  std::string first;
  for (const RecordView& record : opened.records) {
    // The framing judges the end record.
    if (record.tag == kEndOfStreamTag || RecordFitsLayout(record, error)) continue;
    if (opened.misfits++ == 0) {
      char where[64];
      std::snprintf(where, sizeof where, "record 0x%X at offset 0x%zX", static_cast<unsigned>(record.tag),
                    record.offset);
      first = std::string(where) + " does not fit its layout: " + error;
    }
  }
  if (opened.misfits == 1) opened.faults.push_back(first);
  if (opened.misfits > 1)
    opened.faults.push_back(std::to_string(opened.misfits) + " records do not fit their layout; the first: " + first);
  if (!opened.framing.empty()) opened.faults.push_back(opened.framing);
}

void PrintDataFileFaults(const OpenedDataFile& opened, const std::string& label) {
  for (const std::string& fault : opened.faults) CliError(label + ": " + fault);
}
