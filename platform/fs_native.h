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

// Reads at most `limit` bytes of a regular file into `out` (with `spare`
// bytes of capacity after them), and its identity into `id`. False, with
// `out` empty, when it cannot be opened or read completely.
bool FsReadNative(const std::u16string& path, size_t limit, size_t spare, std::vector<uint8_t>& out, FsFileId& id);
bool FsReadNative(const std::u16string& path, size_t limit, size_t spare, FsByteBuffer& out, FsFileId& id);

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
