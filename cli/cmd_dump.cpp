// railwick dump FILE / railwick verify FILE: open a vehicle data file,
// check its digest and framing, and (dump) list its records.
#include <cstdio>

#include "cli/cli.h"
#include "compiler/data_file.h"
#include "compiler/record_layouts.h"
#include "compiler/record_walker.h"
#include "platform/fs.h"
#include "platform/sjis.h"

namespace {

struct OpenedFile {
  std::string path;  // as the user wrote it
  size_t file_bytes = 0;
  DataFileHeader header;
  std::vector<uint8_t> stream;  // descrambled, digest checked
};

// Takes the one file argument, reads and opens the file. Returns kExitOk, or
// the exit status after printing why not.
int OpenFileArgument(const CliArgs& args, const char* command, OpenedFile& opened) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    CliError(std::string("usage: railwick ") + command + " FILE");
    return kExitUsage;
  }
  opened.path = args[0];
  std::vector<uint8_t> file;
  if (!FsReadFile(FsAbsolute(Utf8ToUtf16(opened.path)), file)) {
    CliError("cannot read " + opened.path);
    return kExitUsage;
  }
  opened.file_bytes = file.size();
  std::string error;
  if (!OpenDataFile(file, opened.stream, error, &opened.header)) {
    CliError(opened.path + ": " + error);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

int CliDump(const CliArgs& args) {
  OpenedFile opened;
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
  OpenedFile opened;
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
