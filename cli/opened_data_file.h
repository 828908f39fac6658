// A vehicle data file named on the command line, read, descrambled and
// checked whole: digest, record framing, bytes after the end record, and
// every record against the layout of its tag. verify, dump and diff judge
// a file by this one check.
#pragma once
#include <string>
#include <vector>

#include "cli/cli.h"
#include "compiler/data_file.h"
#include "compiler/record_walker.h"

struct OpenedDataFile {
  std::string path;  // as the user wrote it
  bool readable = false;
  size_t file_bytes = 0;
  DataFileHeader header;
  std::vector<uint8_t> stream;      // descrambled; empty unless the digest matched
  std::vector<RecordView> records;  // up to the end record, or to where the framing breaks
  std::string framing;              // why the framing is broken; empty when it is sound
  size_t misfits = 0;               // records that do not fit their layout
  std::vector<std::string> faults;  // everything wrong, one line each, in stream order

  bool Sound() const { return faults.empty(); }
};

// Reads and checks `path`; prints nothing. `opened.faults` says what is
// wrong: "cannot read the file" when it cannot be read, else the digest,
// or the records that do not fit their layout and the framing.
void OpenDataFileArgument(const std::string& path, OpenedDataFile& opened);

// Each fault as "railwick: LABEL: fault" on stderr.
void PrintDataFileFaults(const OpenedDataFile& opened, const std::string& label);
