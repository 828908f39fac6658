// A vehicle data file named on the command line, read, descrambled and
// digest-checked.
#pragma once
#include <string>
#include <vector>

#include "cli/cli.h"
#include "compiler/data_file.h"

struct OpenedDataFile {
  std::string path;  // as the user wrote it
  size_t file_bytes = 0;
  DataFileHeader header;
  std::vector<uint8_t> stream;  // descrambled, digest checked
};

// Reads and opens `path`. Returns kExitOk, or, after printing why not, the
// status `unreadable` for a file that cannot be read and `damaged` for one
// that fails its digest.
int OpenDataFileArgument(const std::string& path, OpenedDataFile& opened, int unreadable, int damaged);
