#include "platform/dx_version.h"

namespace {

constexpr uint64_t Version(uint32_t major, uint32_t minor, uint32_t build, uint32_t revision) {
  return (static_cast<uint64_t>(major) << 48) | (static_cast<uint64_t>(minor) << 32) |
         (static_cast<uint64_t>(build) << 16) | revision;
}

enum class Test {
  kAtLeast,    // the file version reaches `v4`
  kMajor4Or5,  // major 4 reaching `v4`, or major 5 reaching `v5`
  kReadable,   // the file has a version at all
};

struct Row {
  const char16_t* file;
  Test test;
  uint64_t v4;
  uint64_t v5;
  uint32_t major;
  uint32_t minor;
  char16_t letter;
};

const Row kRows[] = {
    {u"ddraw.dll", Test::kAtLeast, Version(4, 2, 0, 95), 0, 1, 0, u' '},
    {u"ddraw.dll", Test::kAtLeast, Version(4, 3, 0, 1096), 0, 2, 0, u' '},
    {u"ddraw.dll", Test::kAtLeast, Version(4, 4, 0, 68), 0, 3, 0, u' '},
    {u"d3drg8x.dll", Test::kAtLeast, Version(4, 4, 0, 70), 0, 3, 0, u'a'},
    {u"ddraw.dll", Test::kAtLeast, Version(4, 5, 0, 155), 0, 5, 0, u' '},
    {u"ddraw.dll", Test::kAtLeast, Version(4, 6, 0, 318), 0, 6, 0, u' '},
    {u"ddraw.dll", Test::kAtLeast, Version(4, 6, 0, 436), 0, 6, 1, u' '},
    {u"dplayx.dll", Test::kAtLeast, Version(4, 6, 3, 518), 0, 6, 1, u'a'},
    {u"ddraw.dll", Test::kAtLeast, Version(4, 7, 0, 700), 0, 7, 0, u' '},
    {u"dinput.dll", Test::kAtLeast, Version(4, 7, 0, 716), 0, 7, 0, u'a'},
    {u"ddraw.dll", Test::kMajor4Or5, Version(4, 8, 0, 400), Version(5, 1, 2258, 400), 8, 0, u' '},
    {u"d3d8.dll", Test::kMajor4Or5, Version(4, 8, 1, 881), Version(5, 1, 2600, 881), 8, 1, u' '},
    {u"d3d8.dll", Test::kMajor4Or5, Version(4, 8, 1, 901), Version(5, 1, 2600, 901), 8, 1, u'a'},
    {u"mpg2splt.ax", Test::kAtLeast, Version(6, 3, 1, 885), 0, 8, 1, u'b'},
    {u"dpnet.dll", Test::kMajor4Or5, Version(4, 9, 0, 134), Version(5, 2, 3677, 134), 8, 2, u' '},
    {u"d3d9.dll", Test::kReadable, 0, 0, 9, 0, u' '},
    {u"d3dx9_29.dll", Test::kReadable, 0, 0, 9, 11, u' '},
    {u"D3DX9_37.dll", Test::kReadable, 0, 0, 9, 18, u' '},
    {u"D3DX9_43.dll", Test::kReadable, 0, 0, 9, 29, u' '},
};

bool Passes(const Row& row, const FileVersion& file) {
  uint64_t v = (static_cast<uint64_t>(file.ms) << 32) | file.ls;
  uint32_t major = file.ms >> 16;
  switch (row.test) {
    case Test::kAtLeast:
      return v >= row.v4;
    case Test::kMajor4Or5:
      return (major == 4 && v >= row.v4) || (major == 5 && v >= row.v5);
    case Test::kReadable:
      return true;
  }
  return false;
}

}  // namespace

uint32_t PackDirectXVersion(const DirectXVersion& version) {
  uint32_t letter = 0;
  if (version.letter >= u'a' && version.letter <= u'z') letter = version.letter - u'a' + 1;
  if (version.letter >= u'A' && version.letter <= u'Z') letter = version.letter - u'A' + 1;
  return ((version.major & 0xFF) << 16) | ((version.minor & 0xFF) << 8) | letter;
}

DirectXVersion InferDirectXVersionFromFiles(const FileVersionLookup& lookup) {
  DirectXVersion result;
  for (const Row& row : kRows) {
    FileVersion file;
    if (!lookup(row.file, &file) || !Passes(row, file)) continue;
    result.major = row.major;
    result.minor = row.minor;
    result.letter = row.letter;
  }
  return result;
}
