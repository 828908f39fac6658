// Linux side of the file layer: UTF-8 names, '\' as a separator, and a name
// that is not found exactly matched against its folder ignoring ASCII case.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/fs_native.h"
#include "platform/sjis.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// Names in `folder` (ending in '/', or empty for the current folder): from
// the active read cache, which keeps them for the rest of a compilation, or
// read now into `scratch`.
const std::vector<std::string>& FolderNames(const std::string& folder, std::vector<std::string>& scratch) {
  FsReadCache* cache = FsInnermostReadCache();
  if (cache) {
    auto found = cache->listings.find(folder);
    if (found != cache->listings.end()) return found->second;
  }
  std::vector<std::string>& names = cache ? cache->listings[folder] : scratch;
  names.clear();
  if (DIR* dir = opendir(folder.empty() ? "." : folder.c_str())) {
    while (dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
  }
  return names;
}

// True when a read cache holds the listing of `folder` (ending in '/'): it
// was there when listed, and this process's own removals keep it current.
bool Listed(const std::string& folder) {
  for (FsReadCache* c = FsInnermostReadCache(); c; c = c->outer)
    if (c->listings.count(folder)) return true;
  return false;
}

// The entry of `folder` whose name equals `name` ignoring ASCII case, or `name`.
std::string MatchCase(const std::string& folder, const std::string& name) {
  std::vector<std::string> scratch;
  const std::string* match = nullptr;
  for (const std::string& entry : FolderNames(folder, scratch)) {
    if (entry == name) return name;
    if (!match && EqualsIgnoringAsciiCase(entry, name)) match = &entry;
  }
  return match ? *match : name;
}

// Splits a native path after its last '/': the folder (with the '/') and the name.
void SplitFolder(const std::string& path, std::string& folder, std::string& name) {
  const size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// Keeps a cached listing of the folder of `native` in step with a file this
// process has just created there (`added`) or removed.
void NoteFolderChange(const std::string& native, bool added) {
  FsReadCache* cache = FsInnermostReadCache();
  if (!cache) return;
  std::string folder, name;
  SplitFolder(native, folder, name);
  for (FsReadCache* c = cache; c; c = c->outer) {
    auto found = c->listings.find(folder);
    if (found == c->listings.end()) continue;
    std::vector<std::string>& names = found->second;
    auto at = std::find(names.begin(), names.end(), name);
    if (added && at == names.end()) names.push_back(name);
    if (!added && at != names.end()) names.erase(at);
  }
}

// What the case-matching lookup learnt of the name it returns, so that the
// caller need not ask again: missing, or there and no symbolic link (its
// lstat in `st`, which is then what stat would say).
struct NamePresence {
  enum State { kUnknown, kMissing, kPlain } state = kUnknown;
  struct stat st;
};

// FsMatchCaseOnDisk, telling what it learnt of the name it returns.
std::string MatchCaseOnDisk(const std::string& path, NamePresence& presence);

// Native name of a program path; empty when it cannot name a file here
// (a drive letter, or an empty name).
std::string NativePath(const std::u16string& path, NamePresence& presence) {
  presence.state = NamePresence::kUnknown;
  if (path.empty()) return {};
  if (path.size() >= 2 && path[1] == u':') return {};
  std::string utf8 = Utf16ToUtf8(path);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return MatchCaseOnDisk(utf8, presence);
}

// The name as written, for a caller that tries it before matching letter
// case (most names are found as written); empty as NativePath.
std::string WrittenNativePath(const std::u16string& path) {
  if (path.empty() || (path.size() >= 2 && path[1] == u':')) return {};
  std::string utf8 = Utf16ToUtf8(path);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return utf8;
}

// The same, for a caller that asks the system itself.
std::string NativePath(const std::u16string& path) {
  NamePresence presence;
  return NativePath(path, presence);
}

// stat of a native name, asked only when the lookup did not already tell.
bool StatKnown(const std::string& native, const NamePresence& presence, struct stat& st) {
  if (presence.state == NamePresence::kMissing) return false;
  if (presence.state == NamePresence::kPlain) {
    st = presence.st;
    return true;
  }
  return stat(native.c_str(), &st) == 0;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string FsMatchCaseOnDisk(const std::string& path) {
  NamePresence presence;
  return MatchCaseOnDisk(path, presence);
}

namespace {

std::string MatchCaseOnDisk(const std::string& path, NamePresence& presence) {
  presence.state = NamePresence::kUnknown;
  if (path.empty()) return path;
  if (lstat(path.c_str(), &presence.st) == 0) {
    if (!S_ISLNK(presence.st.st_mode)) presence.state = NamePresence::kPlain;
    return path;
  }
  const bool absent = errno == ENOENT;
  // The longest leading part that exists as written (usually the folder,
  // for a file about to be created), then each later part matched.
  size_t kept = path.size();
  while (kept > 0) {
    kept = path.rfind('/', kept - 1);
    if (kept == std::string::npos) {
      kept = 0;
      break;
    }
    if (kept == 0 || Listed(path.substr(0, kept + 1)) || Exists(path.substr(0, kept))) {
      ++kept;  // keep the separator
      break;
    }
  }
  std::string built = path.substr(0, kept);
  size_t pos = kept;
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    std::string part = path.substr(pos, next - pos);
    if (!part.empty()) {
      if (part != "." && part != "..") part = MatchCase(built, part);
      built += part;
      if (next < path.size()) built += '/';
    }
    pos = next + 1;
  }
  // No part matched another letter case: the name is used as given, which
  // lstat has just found missing.
  if (absent && built == path) presence.state = NamePresence::kMissing;
  return built;
}

}  // namespace

std::u16string FsSystemErrorText(uint32_t error) {
  return Utf8ToUtf16(std::strerror(static_cast<int>(error)));
}

char16_t FsSeparator() {
  return u'/';
}

bool FsReadNative(const std::u16string& path, size_t limit, const FsReadTarget& target, FsFileId& id) {
  // Opened as written first; only a name not found so is matched against
  // its folder's names. Not blocking: a FIFO named as an input is refused
  // below (no regular file), not waited on.
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
  std::string native = WrittenNativePath(path);
  int fd = native.empty() ? -1 : open(native.c_str(), kFlags);
  if (fd < 0 && !native.empty() && (errno == ENOENT || errno == ENOTDIR)) {
    NamePresence presence;
    const std::string matched = MatchCaseOnDisk(native, presence);
    if (matched != native) fd = open(matched.c_str(), kFlags);
  }
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (fd >= 0) close(fd);
    return false;
  }
  const size_t size = std::min(static_cast<size_t>(st.st_size), limit);
  uint8_t* room = target.room(target.buffer, size);
  size_t done = 0;
  bool ok = true;
  while (done < size) {
    ssize_t n = read(fd, room + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;  // a file that shrank while read counts as unreadable
      break;
    }
    done += static_cast<size_t>(n);
  }
  close(fd);
  id = FsFileId{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return ok;
}

namespace {

// Temporary files of writes in progress, for the interrupt handler. A slot
// is claimed before its file is created and freed once the file is renamed
// or removed, so the handler never misses one (removing a name that is not
// there yet, or any more, does no harm).
// The states lie together, apart from the paths, so looking for a free slot
// touches one page, not one page per slot.
constexpr int kLiveSlots = 32;
std::atomic<int> g_live_states[kLiveSlots];  // 0 free, 1 being filled, 2 live
char g_live_paths[kLiveSlots][PATH_MAX];

int ClaimTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kLiveSlots; ++i) {
    int expected = 0;
    if (!g_live_states[i].compare_exchange_strong(expected, 1)) continue;
    std::memcpy(g_live_paths[i], path.c_str(), path.size() + 1);
    g_live_states[i].store(2);
    return i;
  }
  return -1;  // all in use: this one is written without the guard
}

void ReleaseTemporary(int slot) {
  if (slot >= 0) g_live_states[slot].store(0);
}

void RemoveLiveTemporaries(int signal_number) {
  for (int i = 0; i < kLiveSlots; ++i)
    if (g_live_states[i].load() == 2) unlink(g_live_paths[i]);
  // SA_RESETHAND restored the default action: the signal ends the process
  // once this handler returns, and the exit status says so.
  raise(signal_number);
}

// The file a write to `native` must replace: the end of a chain of symbolic
// links, else `native` itself.
std::string FinalTarget(const std::string& native) {
  std::string path = native;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> buffer(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) return path;
    std::string link(buffer.data(), static_cast<size_t>(n));
    if (link.empty()) return path;
    if (link[0] != '/') {
      size_t slash = path.rfind('/');
      link = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
    }
    path = link;
  }
  return path;
}

void SetReason(std::u16string* reason, int error) {
  if (reason) *reason = error ? FsSystemErrorText(static_cast<uint32_t>(error)) : std::u16string();
}

}  // namespace

bool FsWriteFileAtomic(const std::u16string& path, const FsBytes* pieces, size_t count, FsFlush flush,
                       std::u16string* reason) {
  FsForgetCachedRead(path);
  NamePresence presence;
  std::string native = NativePath(path, presence);
  if (native.empty()) {
    SetReason(reason, path.empty() ? ENOENT : EINVAL);  // no name, or a drive letter
    return false;
  }
  // A name the lookup found missing, or there and no link, is its own target.
  const std::string target = presence.state == NamePresence::kUnknown ? FinalTarget(native) : native;
  struct stat old_file;
  const bool replacing = target == native ? StatKnown(target, presence, old_file)
                                          : stat(target.c_str(), &old_file) == 0;
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1, slot = -1;
  // A file left by a killed run of the same process number is passed over.
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    slot = ClaimTemporary(temp);
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) break;
    const int error = errno;
    ReleaseTemporary(slot);
    if (error != EEXIST) {
      SetReason(reason, error);
      return false;
    }
  }
  if (fd < 0) {
    SetReason(reason, EEXIST);
    return false;
  }
  int error = 0;
  for (size_t i = 0; i < count && !error; ++i)
    if (!WriteAll(fd, pieces[i].data, pieces[i].size)) error = errno ? errno : EIO;
  if (!error && replacing && fchmod(fd, old_file.st_mode & 07777) != 0) error = errno;
  if (!error && flush == FsFlush::kToDisk && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  if (!error && rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error) unlink(temp.c_str());
  if (!error && !replacing) NoteFolderChange(target, true);
  ReleaseTemporary(slot);
  SetReason(reason, error);
  return error == 0;
}

bool FsKeepIfSame(const std::u16string& path, const FsBytes* pieces, size_t count) {
  NamePresence presence;
  const std::string native = NativePath(path, presence);
  if (native.empty() || presence.state == NamePresence::kMissing) return false;
  // Not blocking: a FIFO in the file's place must not wait for a writer.
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  FsPiecesMatcher matcher(pieces, count);
  struct stat st;
  bool same = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) == matcher.total();
  uint8_t chunk[kFsCompareChunk];
  while (same && !matcher.AtEnd()) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    same = n > 0 && matcher.Take(chunk, static_cast<size_t>(n));
  }
  same = same && futimens(fd, nullptr) == 0;
  close(fd);
  return same;
}

bool FsFileIdOf(const std::u16string& path, FsFileId& id) {
  const std::string native = NativePath(path);
  struct stat st;
  if (native.empty() || stat(native.c_str(), &st) != 0) return false;
  id = FsFileId{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

bool FsSameFile(const std::u16string& a, const std::u16string& b) {
  const std::string native_a = NativePath(a), native_b = NativePath(b);
  struct stat sa, sb;
  return !native_a.empty() && !native_b.empty() && stat(native_a.c_str(), &sa) == 0 &&
         stat(native_b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void FsInstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = RemoveLiveTemporaries;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal_number, &action, nullptr);
}

bool FsRemoveFile(const std::u16string& path) {
  FsForgetCachedRead(path);
  std::string native = NativePath(path);
  if (native.empty() || unlink(native.c_str()) != 0) return false;
  NoteFolderChange(native, false);
  return true;
}

bool FsFileExists(const std::u16string& path) {
  NamePresence presence;
  std::string native = NativePath(path, presence);
  struct stat st;
  return !native.empty() && StatKnown(native, presence, st) && S_ISREG(st.st_mode);
}

bool FsIsDirectory(const std::u16string& path) {
  NamePresence presence;
  std::string native = NativePath(path, presence);
  struct stat st;
  return !native.empty() && StatKnown(native, presence, st) && S_ISDIR(st.st_mode);
}

bool FsCreateDirectory(const std::u16string& path) {
  std::string native = NativePath(path);
  if (native.empty()) return false;
  if (mkdir(native.c_str(), 0755) == 0) {
    NoteFolderChange(native, true);
    return true;
  }
  return errno == EEXIST;
}

bool FsRemoveTree(const std::u16string& path) {
  std::string native = NativePath(path);
  for (FsReadCache* c = FsInnermostReadCache(); c; c = c->outer) c->listings.clear();
  std::error_code error;
  return !native.empty() && std::filesystem::remove_all(native, error) != static_cast<std::uintmax_t>(-1);
}

bool FsFileStat(const std::u16string& path, uint64_t* size, int64_t* mtime_ns) {
  NamePresence presence;
  std::string native = NativePath(path, presence);
  struct stat st;
  if (native.empty() || !StatKnown(native, presence, st)) return false;
  if (size) *size = static_cast<uint64_t>(st.st_size);
  if (mtime_ns) *mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

std::u16string FsCurrentDirectory() {
  char buf[4096];
  if (!getcwd(buf, sizeof buf)) return u"./";
  std::u16string dir = Utf8ToUtf16(buf);
  if (dir.empty() || dir.back() != u'/') dir += u'/';
  return dir;
}

bool FsSetCurrentDirectory(const std::u16string& path) {
  std::string native = NativePath(path);
  return !native.empty() && chdir(native.c_str()) == 0;
}

std::u16string FsTempDirectory() {
  static std::string dir;
  if (dir.empty()) {
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/railwick.XXXXXX";
    if (mkdtemp(templ.data())) dir = templ + "/";
  }
  return Utf8ToUtf16(dir);
}
