// The one place where paths meet the operating system. Paths are UTF-16
// inside the program; on Windows they go to the wide Win32 calls, on Linux
// they become UTF-8 names with '\' read as a folder separator and letter case
// matched as Windows matches it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

// Longest path the program composes or accepts, in UTF-16 units (without the
// terminator), as Windows' MAX_PATH allows.
constexpr size_t kMaxPathUnits = 259;

// Reads a whole file. False when it cannot be opened or read completely.
// An empty file reads as true with no bytes. `spare` bytes of capacity are
// kept after the contents, for a reader that pads them without moving them.
bool FsReadFile(const std::u16string& path, std::vector<uint8_t>& out, size_t spare = 0);
// Bytes that a read fills: growing the buffer leaves the new bytes as they
// come, where std::vector<uint8_t> would clear each first (as much work as
// parsing them, for a large model read once).
template <typename T>
struct FsUnclearedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = FsUnclearedAllocator<U>;
  };
  FsUnclearedAllocator() = default;
  template <typename U>
  FsUnclearedAllocator(const FsUnclearedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;  // default-initialised: a byte is left as it is
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(static_cast<Args&&>(args)...);
  }
};
using FsByteBuffer = std::vector<uint8_t, FsUnclearedAllocator<uint8_t>>;
// FsReadFile into such a buffer.
bool FsReadFile(const std::u16string& path, FsByteBuffer& out, size_t spare = 0);
// FsReadFile for a file that many readers of one run name (a material
// library): answered from this thread's read cache when one is active.
bool FsReadSharedFile(const std::u16string& path, std::vector<uint8_t>& out);
// Reads the first `max_bytes` of a file, or all of a shorter one; answered
// from the read cache as FsReadSharedFile is (texture headers).
bool FsReadFileStart(const std::u16string& path, size_t max_bytes, std::vector<uint8_t>& out);

// Whether a written file must reach the disk before it replaces the old one.
enum class FsFlush { kNo, kToDisk };

// Writes a whole file so that it is never seen half-written: the bytes go to
// a temporary file beside the target, named uniquely for this process and
// write, which then replaces the target. A target that is a symbolic link
// has the file it points to replaced (the link stays); a replaced file keeps
// its permission bits. False on failure, with the operating system's reason
// in `reason` when given; the target is then left as it was.
bool FsWriteFileAtomic(const std::u16string& path, const void* data, size_t size,
                       FsFlush flush = FsFlush::kNo, std::u16string* reason = nullptr);
// The same for a file whose bytes lie in `count` pieces, written in order.
struct FsBytes {
  const void* data;
  size_t size;
};
bool FsWriteFileAtomic(const std::u16string& path, const FsBytes* pieces, size_t count, FsFlush flush,
                       std::u16string* reason);
// True when `path` is a regular file holding exactly the bytes of `pieces`;
// its modification time is then set to now, as a write would have set it,
// so tools that go by file times see it made. False otherwise (missing,
// different, unreadable, or its time could not be set): write it then.
bool FsKeepIfSame(const std::u16string& path, const FsBytes* pieces, size_t count);
// True when both names open one and the same existing file (links followed,
// letter case matched as for reading).
bool FsSameFile(const std::u16string& a, const std::u16string& b);
// What tells one file from another on this system (device and file number,
// volume and file index); all zero for none.
struct FsFileId {
  uint64_t volume = 0, index = 0;
  bool operator<(const FsFileId& o) const { return volume != o.volume ? volume < o.volume : index < o.index; }
  bool operator==(const FsFileId& o) const { return volume == o.volume && index == o.index; }
};
// The identity of an existing file (links followed); false when it is missing.
bool FsFileIdOf(const std::u16string& path, FsFileId& id);
// Collects the identity of every file read successfully on this thread
// while it lives (FsReadFile, FsReadFileStart); recorders nest, and each
// sees the reads made during its life.
class FsReadRecorder {
 public:
  FsReadRecorder();
  ~FsReadRecorder();
  FsReadRecorder(const FsReadRecorder&) = delete;
  FsReadRecorder& operator=(const FsReadRecorder&) = delete;
  // True when the file with this identity was read.
  bool Read(const FsFileId& id) const { return ids_.count(id) != 0; }

 private:
  friend void FsNoteRead(const FsFileId& id);
  std::set<FsFileId> ids_;
  FsReadRecorder* outer_;
};
// Tells the recorders of this thread that the file `id` was read (the file
// layer calls it).
void FsNoteRead(const FsFileId& id);

// While it lives, shared reads on this thread (FsReadSharedFile,
// FsReadFileStart) of files of at most kFsCachedBytes, and those that fail,
// are answered from memory after the first: one compilation reads the same
// material library and texture headers for every model that names them. On
// Linux it also keeps the folder listings that letter-case matching reads.
// A write or removal through this layer updates both. Caches nest: the
// innermost that holds a name answers, and a new read is kept in the
// innermost.
constexpr size_t kFsCachedBytes = 64 * 1024;
class FsReadCache {
 public:
  FsReadCache();
  ~FsReadCache();
  FsReadCache(const FsReadCache&) = delete;
  FsReadCache& operator=(const FsReadCache&) = delete;

  struct Entry {
    bool ok = false;
    bool whole = false;  // all of the file, not only its start
    FsFileId id;
    std::vector<uint8_t> bytes;
  };
  std::unordered_map<std::u16string, Entry> entries;
  // Names in a folder (native path, ending in a separator).
  std::unordered_map<std::string, std::vector<std::string>> listings;
  FsReadCache* outer;
};

// Makes an interruption (SIGINT, SIGTERM, SIGHUP; a console control event on
// Windows) remove the temporary files of writes in progress, then end the
// process as the interruption would have. Called once at process start.
void FsInstallInterruptCleanup();

bool FsRemoveFile(const std::u16string& path);
bool FsFileExists(const std::u16string& path);
bool FsIsDirectory(const std::u16string& path);
bool FsCreateDirectory(const std::u16string& path);
// Removes a folder and everything in it (scratch folders only).
bool FsRemoveTree(const std::u16string& path);
// Size and modification time in nanoseconds; false when the file is missing.
bool FsFileStat(const std::u16string& path, uint64_t* size, int64_t* mtime_ns);

std::u16string FsCurrentDirectory();  // with a trailing separator
bool FsSetCurrentDirectory(const std::u16string& path);

// True for "/x", "\x" and "C:\x" (a drive letter); false for relative names.
bool FsIsAbsolute(const std::u16string& path);
// The path joined to the current folder when it is relative.
std::u16string FsAbsolute(const std::u16string& path);
// `path` as it stands when it is absolute or empty, else `folder` (which
// ends in a separator, or is empty) followed by it. Every relative name of a
// project or a script resolves this way, never against the current folder.
std::u16string FsResolve(const std::u16string& folder, const std::u16string& path);
// True when `a` and `b` name the same place as Windows names it: either
// separator, any ASCII letter case, "." and ".." folded. Whether the place
// exists does not matter.
bool FsSamePlace(const std::u16string& a, const std::u16string& b);
// `target` (absolute) as a path relative to `folder` (absolute, with its
// separator), with '\' separators; `target` itself when the two share no
// root (another drive).
std::u16string FsPathFrom(const std::u16string& folder, const std::u16string& target);
// A folder unique to this process for scratch files, with a trailing separator.
std::u16string FsTempDirectory();

// Native separator of this build ('\\' on Windows, '/' on Linux).
char16_t FsSeparator();

// Splits a path as _wsplitpath does: folder (with its trailing separator,
// drive included), file name without extension, extension with its dot.
struct SplitPath {
  std::u16string folder;
  std::u16string name;
  std::u16string ext;
};
SplitPath FsSplitPath(const std::u16string& path);
