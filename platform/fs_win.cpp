// Windows side of the file layer: wide Win32 calls, so any name the user can
// type opens whatever the system code page is.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>

#include "platform/fs.h"
#include "platform/fs_native.h"

namespace {

std::wstring Wide(const std::u16string& s) {
  return std::wstring(s.begin(), s.end());
}
std::u16string Narrow16(const wchar_t* s) {
  std::u16string out;
  for (; *s; ++s) out.push_back(static_cast<char16_t>(*s));
  return out;
}

}  // namespace

char16_t FsSeparator() {
  return u'\\';
}

bool FsReadNative(const std::u16string& path, size_t limit, const FsReadTarget& target, FsFileId& id) {
  if (path.empty()) return false;
  // Shared as POSIX files are, so another build may replace the file while
  // this one reads it.
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER file_size;
  bool ok = GetFileSizeEx(h, &file_size) != 0 && file_size.QuadPart >= 0 &&
            static_cast<unsigned long long>(file_size.QuadPart) <= SIZE_MAX;
  const size_t size = ok ? std::min(static_cast<size_t>(file_size.QuadPart), limit) : 0;
  uint8_t* room = ok ? target.room(target.buffer, size) : nullptr;
  size_t done = 0;
  while (ok && done < size) {
    DWORD want = static_cast<DWORD>(size - done > (1u << 30) ? (1u << 30) : size - done);
    DWORD got = 0;
    if (!ReadFile(h, room + done, want, &got, nullptr) || got == 0) ok = false;
    done += got;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (ok && GetFileInformationByHandle(h, &info))
    id = FsFileId{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  CloseHandle(h);
  return ok;
}

namespace {

// Temporary files of writes in progress, for the console control handler
// (which runs on a thread of its own). A slot is claimed before its file is
// created and freed once the file is renamed or removed.
// The states lie together, apart from the paths, so looking for a free slot
// touches one page, not one page per slot.
constexpr size_t kLivePathUnits = 1024;
constexpr int kLiveSlots = 32;
std::atomic<int> g_live_states[kLiveSlots];  // 0 free, 1 being filled, 2 live
wchar_t g_live_paths[kLiveSlots][kLivePathUnits];

int ClaimTemporary(const std::wstring& path) {
  if (path.size() >= kLivePathUnits) return -1;
  for (int i = 0; i < kLiveSlots; ++i) {
    int expected = 0;
    if (!g_live_states[i].compare_exchange_strong(expected, 1)) continue;
    std::copy(path.c_str(), path.c_str() + path.size() + 1, g_live_paths[i]);
    g_live_states[i].store(2);
    return i;
  }
  return -1;  // all in use: this one is written without the guard
}

void ReleaseTemporary(int slot) {
  if (slot >= 0) g_live_states[slot].store(0);
}

// Opened for sharing deletion, a temporary file can be removed here while
// its writer still holds it. FALSE: the default handler ends the process.
BOOL WINAPI RemoveLiveTemporaries(DWORD) {
  for (int i = 0; i < kLiveSlots; ++i)
    if (g_live_states[i].load() == 2) DeleteFileW(g_live_paths[i]);
  return FALSE;
}

// The file a write to `path` must replace: the final target of a symbolic
// link, else `path` itself.
std::wstring FinalTarget(const std::u16string& path) {
  const std::u16string target = FsLinkTarget(path);
  return Wide(target.empty() ? path : target);
}

void SetReason(std::u16string* reason, DWORD error) {
  if (reason) *reason = error ? FsSystemErrorText(error) : std::u16string();
}

}  // namespace

namespace {

// Renames the temporary file over the target. A target that another process
// holds open for a moment (a second build reading the same mesh file, a
// virus scanner) refuses the rename for that moment: try again, for at most
// about a second.
DWORD ReplaceWithTemporary(const std::wstring& temp, const std::wstring& target) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
    const DWORD error = GetLastError();
    const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    if (!busy || attempt == 50) return error;
    Sleep(20);
  }
}

}  // namespace

std::u16string FsSystemErrorText(uint32_t error) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
  std::u16string reason = text ? std::u16string(text, text + n) : std::u16string();
  LocalFree(text);
  return reason.empty() ? u"error " + Narrow16(std::to_wstring(error).c_str()) : reason;
}

std::u16string FsLinkTarget(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return {};
  HANDLE h = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::wstring buffer(32768, L'\0');
  const DWORD n = GetFinalPathNameByHandleW(h, &buffer[0], static_cast<DWORD>(buffer.size()),
                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(h);
  if (n == 0 || n >= buffer.size()) return {};
  std::u16string target(buffer.begin(), buffer.begin() + n);
  if (target.rfind(u"\\\\?\\UNC\\", 0) == 0) return u"\\\\" + target.substr(8);
  if (target.rfind(u"\\\\?\\", 0) == 0) return target.substr(4);
  return target;
}

bool FsWriteFileAtomic(const std::u16string& path, const FsBytes* pieces, size_t count, FsFlush flush,
                       std::u16string* reason) {
  FsForgetCachedRead(path);
  if (path.empty()) {
    SetReason(reason, ERROR_PATH_NOT_FOUND);
    return false;
  }
  static std::atomic<unsigned> counter{0};
  const std::wstring target = FinalTarget(path);
  std::wstring temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  int slot = -1;
  // A file left by a killed run of the same process number is passed over.
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    temp = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
    slot = ClaimTemporary(temp);
    h = CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
    if (h != INVALID_HANDLE_VALUE) break;
    const DWORD error = GetLastError();
    ReleaseTemporary(slot);
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      SetReason(reason, error);
      return false;
    }
  }
  if (h == INVALID_HANDLE_VALUE) {
    SetReason(reason, ERROR_FILE_EXISTS);
    return false;
  }
  DWORD error = 0;
  for (size_t i = 0; i < count && !error; ++i) {
    const auto* p = static_cast<const char*>(pieces[i].data);
    size_t size = pieces[i].size;
    while (!error && size > 0) {
      DWORD piece = static_cast<DWORD>(size > (1u << 30) ? (1u << 30) : size);
      DWORD written = 0;
      if (!WriteFile(h, p, piece, &written, nullptr)) error = GetLastError();
      else if (written != piece) error = ERROR_DISK_FULL;
      p += piece;
      size -= piece;
    }
  }
  if (!error && flush == FsFlush::kToDisk && !FlushFileBuffers(h)) error = GetLastError();
  if (!CloseHandle(h) && !error) error = GetLastError();
  if (!error) error = ReplaceWithTemporary(temp, target);
  if (error) DeleteFileW(temp.c_str());
  ReleaseTemporary(slot);
  SetReason(reason, error);
  return error == 0;
}

bool FsKeepIfSame(const std::u16string& path, const FsBytes* pieces, size_t count) {
  if (path.empty()) return false;
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FsPiecesMatcher matcher(pieces, count);
  LARGE_INTEGER size;
  bool same = GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) &&
              static_cast<uint64_t>(size.QuadPart) == matcher.total();
  uint8_t chunk[kFsCompareChunk];
  while (same && !matcher.AtEnd()) {
    DWORD got = 0;
    same = ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0 && matcher.Take(chunk, got);
  }
  if (same) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    same = SetFileTime(h, nullptr, nullptr, &now) != 0;
  }
  CloseHandle(h);
  return same;
}

namespace {

bool FileIdentity(const std::u16string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  return ok;
}

}  // namespace

bool FsFileIdOf(const std::u16string& path, FsFileId& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (path.empty() || !FileIdentity(path, info)) return false;
  id = FsFileId{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  return true;
}

bool FsSameFile(const std::u16string& a, const std::u16string& b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (a.empty() || b.empty() || !FileIdentity(a, ia) || !FileIdentity(b, ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
         ia.nFileIndexLow == ib.nFileIndexLow;
}

void FsInstallInterruptCleanup() { SetConsoleCtrlHandler(RemoveLiveTemporaries, TRUE); }

bool FsRemoveFile(const std::u16string& path) {
  FsForgetCachedRead(path);
  return DeleteFileW(Wide(path).c_str()) != 0;
}

bool FsFileExists(const std::u16string& path) {
  DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FsIsDirectory(const std::u16string& path) {
  DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FsCreateDirectory(const std::u16string& path) {
  return CreateDirectoryW(Wide(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool FsRemoveTree(const std::u16string& path) {
  std::error_code error;
  return std::filesystem::remove_all(std::filesystem::path(Wide(path)), error) !=
         static_cast<std::uintmax_t>(-1);
}

bool FsFileStat(const std::u16string& path, uint64_t* size, int64_t* mtime_ns) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
  if (size) *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (mtime_ns) {
    uint64_t t = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                 data.ftLastWriteTime.dwLowDateTime;
    *mtime_ns = static_cast<int64_t>(t) * 100;
  }
  return true;
}

std::u16string FsCurrentDirectory() {
  wchar_t buf[32768];
  DWORD n = GetCurrentDirectoryW(32768, buf);
  if (n == 0 || n >= 32768) return u".\\";
  std::u16string dir = Narrow16(buf);
  if (dir.empty() || (dir.back() != u'\\' && dir.back() != u'/')) dir += u'\\';
  return dir;
}

bool FsSetCurrentDirectory(const std::u16string& path) {
  return SetCurrentDirectoryW(Wide(path).c_str()) != 0;
}

std::u16string FsTempDirectory() {
  static std::u16string dir;
  if (dir.empty()) {
    wchar_t base[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) return u".\\";
    std::wstring candidate =
        std::wstring(base) + L"railwick." + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(candidate.c_str(), nullptr);
    dir = Narrow16(candidate.c_str());
  }
  return dir;
}
