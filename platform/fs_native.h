// What each system's file layer gives the rest of platform/ (not for other
// folders).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs.h"

// Drops what the read caches of this thread hold of `path` (after a write).
void FsForgetCachedRead(const std::u16string& path);
// This thread's innermost read cache, or nullptr when none is active.
FsReadCache* FsInnermostReadCache();

// Where FsReadNative puts a file's bytes: `room(buffer, size)` makes room
// for `size` bytes in the caller's buffer and returns it (fs_common.cpp
// sizes either kind of byte buffer).
struct FsReadTarget {
  uint8_t* (*room)(void* buffer, size_t size);
  void* buffer;
};
// Reads at most `limit` bytes of a regular file into the room `target`
// makes for them, and its identity into `id`. False when it cannot be
// opened or read completely; the room then holds nothing of use.
bool FsReadNative(const std::u16string& path, size_t limit, const FsReadTarget& target, FsFileId& id);

// Follows a file read in chunks against the bytes of `pieces`, for
// FsKeepIfSame on either system.
class FsPiecesMatcher {
 public:
  FsPiecesMatcher(const FsBytes* pieces, size_t count);
  uint64_t total() const { return total_; }
  // Takes the next `n` bytes of the file; false once they differ or run past the end.
  bool Take(const uint8_t* bytes, size_t n);
  bool AtEnd() const { return piece_ == count_; }

 private:
  const FsBytes* pieces_;
  size_t count_, piece_ = 0, offset_ = 0;
  uint64_t total_ = 0;
  void SkipEmpty();
};
// Chunk size of that read: a few pages, reused, not a buffer of the file's size.
constexpr size_t kFsCompareChunk = 16 * 1024;

// The system's text for an error number (errno on Linux, GetLastError on
// Windows), without its line end.
std::u16string FsSystemErrorText(uint32_t error);

#ifdef _WIN32
// The file a chain of symbolic links ends at, as a plain path (no "\\?\"
// prefix); empty for a file that is no link or whose target is missing.
std::u16string FsLinkTarget(const std::u16string& path);
#else
// A UTF-8 path with each part that does not exist exactly replaced by the
// entry of its folder whose name equals it ignoring ASCII case, as far as the
// parts exist: names match as Windows matches them.
std::string FsMatchCaseOnDisk(const std::string& path);
#endif
