// What each system's file layer gives the common one (not for other folders).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs.h"

// Drops what the read caches of this thread hold of `path` (after a write).
void FsForgetCachedRead(const std::u16string& path);

// Reads at most `limit` bytes of a regular file into `out` (with `spare`
// bytes of capacity after them), and its identity into `id`. False, with
// `out` empty, when it cannot be opened or read completely.
bool FsReadNative(const std::u16string& path, size_t limit, size_t spare, std::vector<uint8_t>& out, FsFileId& id);
