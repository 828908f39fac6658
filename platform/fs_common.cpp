#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/fs_native.h"

static bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool FsIsAbsolute(const std::u16string& path) {
  if (!path.empty() && IsSeparator(path[0])) return true;
  return path.size() >= 2 && path[1] == u':' &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

std::u16string FsAbsolute(const std::u16string& path) {
  if (FsIsAbsolute(path)) return path;
  return FsCurrentDirectory() + path;
}

std::u16string FsResolve(const std::u16string& folder, const std::u16string& path) {
  if (path.empty() || FsIsAbsolute(path)) return path;
  return folder + path;
}

SplitPath FsSplitPath(const std::u16string& path) {
  SplitPath parts;
  size_t slash = path.find_last_of(u"/\\");
  size_t name_start = slash == std::u16string::npos ? 0 : slash + 1;
  if (slash == std::u16string::npos && path.size() >= 2 && path[1] == u':') name_start = 2;
  parts.folder = path.substr(0, name_start);
  std::u16string file = path.substr(name_start);
  size_t dot = file.find_last_of(u'.');
  if (dot == std::u16string::npos) {
    parts.name = file;
  } else {
    parts.name = file.substr(0, dot);
    parts.ext = file.substr(dot);
  }
  return parts;
}

FsPiecesMatcher::FsPiecesMatcher(const FsBytes* pieces, size_t count) : pieces_(pieces), count_(count) {
  for (size_t i = 0; i < count; ++i) total_ += pieces[i].size;
  SkipEmpty();
}

void FsPiecesMatcher::SkipEmpty() {
  while (piece_ < count_ && offset_ == pieces_[piece_].size) {
    ++piece_;
    offset_ = 0;
  }
}

bool FsPiecesMatcher::Take(const uint8_t* bytes, size_t n) {
  while (n > 0) {
    if (piece_ == count_) return false;
    const size_t step = std::min(n, pieces_[piece_].size - offset_);
    if (std::memcmp(static_cast<const uint8_t*>(pieces_[piece_].data) + offset_, bytes, step) != 0) return false;
    bytes += step;
    n -= step;
    offset_ += step;
    SkipEmpty();
  }
  return true;
}

namespace {

// Components with "." dropped and ".." applied; the first is the root: ""
// for "/x", "C:" for "C:\x".
std::vector<std::u16string> Parts(const std::u16string& path) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"/\\", start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(start, end - start);
    if (parts.empty()) {
      parts.push_back(part);
    } else if (part == u"..") {
      if (parts.size() > 1) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  return parts;
}

bool SamePart(const std::u16string& a, const std::u16string& b) {
  return EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

bool FsSamePlace(const std::u16string& a, const std::u16string& b) {
  const std::vector<std::u16string> x = Parts(a), y = Parts(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (!SamePart(x[i], y[i])) return false;
  return true;
}

std::u16string FsPathFrom(const std::u16string& folder, const std::u16string& target) {
  const std::vector<std::u16string> from = Parts(folder), to = Parts(target);
  if (from.empty() || to.empty() || !SamePart(from[0], to[0])) return target;
  size_t common = 1;
  while (common < from.size() && common < to.size() - 1 && SamePart(from[common], to[common])) ++common;
  std::u16string relative;
  for (size_t i = common; i < from.size(); ++i) relative += u"..\\";
  for (size_t i = common; i < to.size(); ++i) relative += to[i] + (i + 1 < to.size() ? u"\\" : u"");
  return relative;
}

namespace {
thread_local FsReadRecorder* t_innermost_recorder = nullptr;
}

FsReadRecorder::FsReadRecorder() : outer_(t_innermost_recorder) { t_innermost_recorder = this; }

FsReadRecorder::~FsReadRecorder() { t_innermost_recorder = outer_; }

namespace {
thread_local FsReadCache* t_read_cache = nullptr;

// A byte buffer of either kind, with `spare` bytes of capacity to keep
// after the contents, as FsReadNative's target.
template <typename Buffer>
struct SizedBuffer {
  Buffer& out;
  size_t spare;

  static uint8_t* Room(void* buffer, size_t size) {
    SizedBuffer& b = *static_cast<SizedBuffer*>(buffer);
    // A reused buffer is only cut or grown: the read overwrites what it
    // held, so clearing it first would zero-fill every byte for nothing.
    // One too small is emptied first, so that growing it moves none of its
    // old bytes.
    if (b.out.capacity() < size + b.spare) b.out.clear();
    if (b.out.size() > size) b.out.resize(size);
    b.out.reserve(size + b.spare);
    b.out.resize(size);
    return b.out.data();
  }
};

// FsReadNative into either kind of byte buffer; `out` is empty on failure.
template <typename Buffer>
bool ReadInto(const std::u16string& path, size_t limit, size_t spare, Buffer& out, FsFileId& id) {
  SizedBuffer<Buffer> sized{out, spare};
  const FsReadTarget target{&SizedBuffer<Buffer>::Room, &sized};
  const bool ok = FsReadNative(path, limit, target, id);
  if (!ok) out.clear();
  return ok;
}

bool CachedRead(const std::u16string& path, size_t limit, size_t spare, std::vector<uint8_t>& out,
                bool shared) {
  FsReadCache* cache = shared ? t_read_cache : nullptr;
  // The innermost cache that holds the name answers; a new read is kept in
  // the innermost.
  for (FsReadCache* holder = cache; holder; holder = holder->outer) {
    auto found = holder->entries.find(path);
    if (found != holder->entries.end()) {
      const FsReadCache::Entry& e = found->second;
      if (!e.ok) {
        out.clear();
        return false;
      }
      if (e.whole || e.bytes.size() >= limit) {
        const size_t n = std::min(limit, e.bytes.size());
        out.reserve(n + spare);
        out.assign(e.bytes.begin(), e.bytes.begin() + static_cast<std::ptrdiff_t>(n));
        FsNoteRead(e.id);
        return true;
      }
    }
  }
  FsFileId id;
  const bool ok = ReadInto(path, limit, spare, out, id);
  if (ok) FsNoteRead(id);
  if (cache && out.size() <= kFsCachedBytes) {
    FsReadCache::Entry& e = cache->entries[path];
    e.ok = ok;
    e.whole = ok && out.size() < limit;
    e.id = id;
    e.bytes.assign(out.begin(), out.end());
  }
  return ok;
}
}  // namespace

FsReadCache::FsReadCache() : outer(t_read_cache) { t_read_cache = this; }
FsReadCache::~FsReadCache() { t_read_cache = outer; }

void FsForgetCachedRead(const std::u16string& path) {
  for (FsReadCache* c = t_read_cache; c; c = c->outer) c->entries.erase(path);
}

FsReadCache* FsInnermostReadCache() {
  return t_read_cache;
}

bool FsWriteFileAtomic(const std::u16string& path, const void* data, size_t size, FsFlush flush,
                       std::u16string* reason) {
  const FsBytes whole{data, size};
  return FsWriteFileAtomic(path, &whole, 1, flush, reason);
}

bool FsReadFile(const std::u16string& path, std::vector<uint8_t>& out, size_t spare) {
  return CachedRead(path, SIZE_MAX, spare, out, false);
}

bool FsReadFile(const std::u16string& path, FsByteBuffer& out, size_t spare) {
  FsFileId id;
  const bool ok = ReadInto(path, SIZE_MAX, spare, out, id);
  if (ok) FsNoteRead(id);
  return ok;
}

bool FsReadSharedFile(const std::u16string& path, std::vector<uint8_t>& out) {
  return CachedRead(path, SIZE_MAX, 0, out, true);
}

bool FsReadFileStart(const std::u16string& path, size_t max_bytes, std::vector<uint8_t>& out) {
  return CachedRead(path, max_bytes, 0, out, true);
}

void FsNoteRead(const FsFileId& id) {
  for (FsReadRecorder* r = t_innermost_recorder; r; r = r->outer_) r->ids_.insert(id);
}
