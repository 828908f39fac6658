// Windows: one change notification per folder; a signalled folder's files
// are compared with their last size and time to tell which changed.
#include <windows.h>

#include <atomic>
#include <map>

#include "platform/file_watch.h"
#include "platform/fs.h"

namespace {

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD) {
  g_interrupted = true;
  return TRUE;
}

struct FileState {
  uint64_t size = 0;
  int64_t mtime = 0;
  bool exists = false;
};

FileState StateOf(const std::u16string& path) {
  FileState s;
  s.exists = FsFileStat(path, &s.size, &s.mtime);
  return s;
}

class NotificationWatcher : public FileWatcher {
 public:
  ~NotificationWatcher() override { CloseAll(); }

  bool Watch(const std::vector<std::u16string>& files) override {
    CloseAll();
    for (const std::u16string& file : files) {
      std::u16string path = FsAbsolute(file);
      std::u16string folder = FsSplitPath(path).folder;
      if (!handles_.count(folder)) {
        HANDLE h = FindFirstChangeNotificationW(std::wstring(folder.begin(), folder.end()).c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME |
                                                    FILE_NOTIFY_CHANGE_SIZE);
        if (h == INVALID_HANDLE_VALUE) continue;
        handles_[folder] = h;
      }
      files_[path] = StateOf(path);
    }
    return !handles_.empty();
  }

  Event Wait(int timeout_ms, std::vector<std::u16string>* changed) override {
    std::vector<HANDLE> list;
    for (auto& [folder, h] : handles_) list.push_back(h);
    if (list.empty()) return Event::kError;
    int waited = 0;
    while (true) {
      if (g_interrupted) return Event::kInterrupted;
      int slice = timeout_ms < 0 ? 100 : std::min(100, timeout_ms - waited);
      DWORD r = WaitForMultipleObjects(static_cast<DWORD>(list.size()), list.data(), FALSE, slice);
      if (r < WAIT_OBJECT_0 + list.size()) {
        FindNextChangeNotification(list[r - WAIT_OBJECT_0]);
        bool hit = false;
        for (auto& [path, state] : files_) {
          FileState now = StateOf(path);
          if (now.exists != state.exists || now.size != state.size || now.mtime != state.mtime) {
            state = now;
            hit = true;
            if (changed) changed->push_back(path);
          }
        }
        if (hit) return Event::kChanged;
      }
      waited += slice;
      if (timeout_ms >= 0 && waited >= timeout_ms) return Event::kTimeout;
    }
  }

 private:
  void CloseAll() {
    for (auto& [folder, h] : handles_) FindCloseChangeNotification(h);
    handles_.clear();
    files_.clear();
  }
  std::map<std::u16string, HANDLE> handles_;
  std::map<std::u16string, FileState> files_;
};

}  // namespace

std::unique_ptr<FileWatcher> CreateFileWatcher() { return std::make_unique<NotificationWatcher>(); }
void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }
bool InterruptRequested() { return g_interrupted; }
void RequestInterrupt() { g_interrupted = true; }
void ClearInterrupt() { g_interrupted = false; }
