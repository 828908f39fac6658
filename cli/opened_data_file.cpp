#include "cli/opened_data_file.h"

#include "platform/fs.h"
#include "platform/sjis.h"

int OpenDataFileArgument(const std::string& path, OpenedDataFile& opened, int unreadable, int damaged) {
  opened.path = path;
  std::vector<uint8_t> file;
  if (!FsReadFile(FsAbsolute(Utf8ToUtf16(path)), file)) {
    CliError("cannot read " + path);
    return unreadable;
  }
  opened.file_bytes = file.size();
  std::string error;
  if (!OpenDataFile(file, opened.stream, error, &opened.header)) {
    CliError(path + ": " + error);
    return damaged;
  }
  return kExitOk;
}
