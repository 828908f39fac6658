// railwick dump FILE / railwick verify FILE: open a vehicle data file,
// check its digest and framing, and (dump) list its records.
#include <cstdio>

#include "cli/cli.h"
#include "cli/opened_data_file.h"
#include "compiler/data_file.h"
#include "compiler/record_layouts.h"
#include "compiler/record_walker.h"
#include "platform/fs.h"
#include "platform/sjis.h"

namespace {

// Takes the one file argument (after --json for dump) and opens the file.
int OpenFileArgument(const CliArgs& args, const char* command, OpenedDataFile& opened) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    CliError(std::string("usage: railwick ") + command + " FILE");
    return kExitUsage;
  }
  return OpenDataFileArgument(args[0], opened, kExitUsage, kExitFailed);
}

}  // namespace

int CliDump(const CliArgs& args) {
  if (!args.empty() && args[0] == "--json") return CliDumpJson(CliArgs(args.begin() + 1, args.end()));
  OpenedDataFile opened;
  if (int status = OpenFileArgument(args, "dump", opened); status != kExitOk) return status;
  const std::string& path = opened.path;
  const std::vector<uint8_t>& stream = opened.stream;

  std::printf("%s: %zu bytes, seed %u, MD5 %s (digest ok)\n", path.c_str(), opened.file_bytes,
              static_cast<unsigned>(opened.header.seed), Md5Hex(opened.header.digest).c_str());
  std::printf("stream: %zu bytes at file offset %zu; the offsets below count from there\n", stream.size(),
              kDataFileHeaderBytes);
  std::printf("%s\n", RecordListingHeading());

  RecordWalker walker{stream.data(), stream.size(), 0};
  RecordView record;
  std::string line, error;
  size_t records = 0, misfits = 0;
  WalkStep step;
  while ((step = NextRecord(walker, record, error)) == WalkStep::kRecord) {
    ++records;
    if (!FormatRecordLine(record, line)) ++misfits;
    std::printf("%s\n", line.c_str());
  }
  std::printf("%zu records\n", records);
  std::fflush(stdout);

  if (step == WalkStep::kBroken || !CheckStreamFraming(stream.data(), stream.size(), nullptr, error)) {
    CliError(path + ": " + error);
    return kExitFailed;
  }
  if (misfits > 0) {
    CliError(path + ": " + std::to_string(misfits) + " record(s) do not fit their layout (marked !!)");
    return kExitFailed;
  }
  return kExitOk;
}

int CliVerify(const CliArgs& args) {
  OpenedDataFile opened;
  if (int status = OpenFileArgument(args, "verify", opened); status != kExitOk) return status;
  const std::string& path = opened.path;

  size_t records = 0;
  std::string error;
  if (!CheckStreamFraming(opened.stream.data(), opened.stream.size(), &records, error)) {
    CliError(path + ": " + error);
    return kExitFailed;
  }
  std::printf("%s: ok (%zu records, %zu bytes, seed %u, MD5 %s)\n", path.c_str(), records, opened.file_bytes,
              static_cast<unsigned>(opened.header.seed), Md5Hex(opened.header.digest).c_str());
  return kExitOk;
}
