// DirectX version numbers: the packed form the start-up check compares, and
// the inference from system-file versions used when the diagnostics service
// does not answer. Portable; the Windows probe feeds it.
#pragma once
#include <cstdint>
#include <functional>

struct DirectXVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  char16_t letter = u' ';  // space when there is none
};

// Bits 23-16 major, 15-8 minor, 7-0 the letter's place in the alphabet
// (a = 1 ... z = 26, either case), 0 for a space or anything else. Major and
// minor are cut to 8 bits so they cannot spill into each other.
uint32_t PackDirectXVersion(const DirectXVersion& version);

// A file version as VS_FIXEDFILEINFO holds it: ms = major << 16 | minor,
// ls = build << 16 | revision.
struct FileVersion {
  uint32_t ms = 0;
  uint32_t ls = 0;
};

// Answers the version of a file in the system folder; false when the file or
// its version cannot be read.
using FileVersionLookup = std::function<bool(const char16_t* file_name, FileVersion* version)>;

// Goes over the known system files, oldest evidence first; every passing row
// replaces the result, so the newest evidence wins. 0.0 with a space when no
// row passes.
DirectXVersion InferDirectXVersionFromFiles(const FileVersionLookup& lookup);
