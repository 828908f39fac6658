// Windows side of the file layer: wide Win32 calls, so any name the user can
// type opens whatever the system code page is.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>

#include "platform/fs.h"

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

namespace {

bool ReadFileUpTo(const std::u16string& path, size_t limit, size_t spare, std::vector<uint8_t>& out) {
  out.clear();
  if (path.empty()) return false;
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(h, &size) != 0 && size.QuadPart >= 0 &&
            static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX;
  if (ok) {
    const size_t wanted = std::min(static_cast<size_t>(size.QuadPart), limit);
    out.reserve(wanted + spare);
    out.resize(wanted);
  }
  size_t done = 0;
  while (ok && done < out.size()) {
    DWORD want = static_cast<DWORD>(out.size() - done > (1u << 30) ? (1u << 30) : out.size() - done);
    DWORD got = 0;
    if (!ReadFile(h, out.data() + done, want, &got, nullptr) || got == 0) ok = false;
    done += got;
  }
  CloseHandle(h);
  if (!ok) out.clear();
  return ok;
}

}  // namespace

bool FsReadFile(const std::u16string& path, std::vector<uint8_t>& out, size_t spare) {
  return ReadFileUpTo(path, SIZE_MAX, spare, out);
}

bool FsReadFileStart(const std::u16string& path, size_t max_bytes, std::vector<uint8_t>& out) {
  return ReadFileUpTo(path, max_bytes, 0, out);
}

bool FsWriteFileAtomic(const std::u16string& path, const void* data, size_t size) {
  if (path.empty()) return false;
  static std::atomic<unsigned> counter{0};
  std::wstring target = Wide(path);
  std::wstring temp =
      target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const auto* p = static_cast<const char*>(data);
  bool ok = true;
  while (ok && size > 0) {
    DWORD piece = static_cast<DWORD>(size > (1u << 30) ? (1u << 30) : size);
    DWORD written = 0;
    if (!WriteFile(h, p, piece, &written, nullptr) || written != piece) ok = false;
    p += piece;
    size -= piece;
  }
  ok = CloseHandle(h) && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool FsRemoveFile(const std::u16string& path) {
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
