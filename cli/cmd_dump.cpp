// railwick dump FILE / railwick verify FILE: open a vehicle data file,
// check it whole, and (dump) list its records.
#include <cstdio>

#include "cli/cli.h"
#include "cli/opened_data_file.h"
#include "compiler/data_file.h"
#include "compiler/record_layouts.h"

namespace {

// Opens the file; a file that cannot be read is a usage error.
int Open(const DataFileOptions& options, OpenedDataFile& opened) {
  OpenDataFileArgument(options.file, opened);
  if (opened.readable) return kExitOk;
  PrintDataFileFaults(opened, options.file);
  return kExitUsage;
}

}  // namespace

int CliDump(const DataFileOptions& options) {
  OpenedDataFile opened;
  if (int status = Open(options, opened); status != kExitOk) return status;
  const std::string& path = opened.path;
  const std::vector<uint8_t>& stream = opened.stream;

  // Nothing can be listed without the plain stream.
  if (!stream.empty()) {
    std::printf("%s: %zu bytes, seed %u, MD5 %s (digest ok)\n", path.c_str(), opened.file_bytes,
                static_cast<unsigned>(opened.header.seed), Md5Hex(opened.header.digest).c_str());
    std::printf("stream: %zu bytes at file offset %zu; the offsets below count from there\n", stream.size(),
                kDataFileHeaderBytes);
    std::printf("%s\n", RecordListingHeading());
    std::string line;
    for (const RecordView& record : opened.records) {
      FormatRecordLine(record, line);  // a record that does not fit is marked "!!"
      std::printf("%s\n", line.c_str());
    }
    std::printf("%zu records\n", opened.records.size());
    std::fflush(stdout);
  }
  PrintDataFileFaults(opened, path);
  return opened.Sound() ? kExitOk : kExitFailed;
}

int CliVerify(const DataFileOptions& options) {
  OpenedDataFile opened;
  if (int status = Open(options, opened); status != kExitOk) return status;
  if (!opened.Sound()) {
    PrintDataFileFaults(opened, opened.path);
    return kExitFailed;
  }
  std::printf("%s: ok (%zu records, %zu bytes, seed %u, MD5 %s)\n", opened.path.c_str(), opened.records.size(),
              opened.file_bytes, static_cast<unsigned>(opened.header.seed), Md5Hex(opened.header.digest).c_str());
  return kExitOk;
}
