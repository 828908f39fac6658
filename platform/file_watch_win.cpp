// Windows: one change notification per folder; a signalled folder's files
// are compared with their last size and time to tell which changed. Every
// signal opens the notifications anew: one whose folder was deleted or
// replaced would never signal again.
#include <windows.h>

#include <atomic>
#include <map>
#include <set>

#include "platform/file_watch.h"
#include "platform/fs.h"
#include "platform/fs_native.h"
#include "platform/sjis.h"
#include "platform/watch_support.h"

namespace {

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD) {
  g_interrupted = true;
  return TRUE;
}

constexpr DWORD kChangeFilter = FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME |
                                FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE;
constexpr int kRecheckMs = 1000;  // a folder moved away signals nothing: look now and then

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

// The system's text for an error code.
std::string Reason(DWORD error) { return Utf16ToUtf8(FsSystemErrorText(error)); }

bool EndsInSeparator(const std::u16string& s) { return !s.empty() && (s.back() == u'\\' || s.back() == u'/'); }

// The folder holding `folder`, or empty at a root.
std::u16string ParentOf(const std::u16string& folder) {
  if (folder.size() < 2) return {};
  std::u16string parent = FsSplitPath(folder.substr(0, folder.size() - 1)).folder;
  return EndsInSeparator(parent) && parent.size() < folder.size() ? parent : std::u16string();
}

class NotificationWatcher : public FileWatcher {
 public:
  explicit NotificationWatcher(WatchProblemReport report) : problems_(std::move(report)) {}
  ~NotificationWatcher() override { CloseAll(); }

  bool Watch(const std::vector<std::u16string>& files) override {
    files_ = files;
    Arm();
    stamps_.Take(stamped_);
    return !handles_.empty();
  }

  Event Wait(int timeout_ms, std::vector<std::u16string>* changed) override {
    int waited = 0;
    while (true) {
      if (g_interrupted) return Event::kInterrupted;
      int slice = timeout_ms < 0 ? 100 : std::min(100, timeout_ms - waited);
      bool signalled = false;
      if (handles_.empty()) {
        Sleep(slice);
      } else {
        std::vector<HANDLE> list;
        for (auto& [folder, h] : handles_) list.push_back(h);
        const DWORD r = WaitForMultipleObjects(static_cast<DWORD>(list.size()), list.data(), FALSE, slice);
        signalled = r < WAIT_OBJECT_0 + list.size();
      }
      // A folder moved away, or replaced by another of its name, signals
      // nothing: now and then the plan and the stamps are looked at anyway.
      since_check_ += slice;
      const bool recheck = since_check_ >= kRecheckMs;
      if (recheck) since_check_ = 0;
      if (signalled || recheck) {
        bool rearm = signalled || PlanChanged();
        if (rearm) Arm();
        const std::vector<std::u16string> now = stamps_.Changed(stamped_);
        if (!now.empty()) {
          if (!rearm) Arm();
          if (changed) changed->insert(changed->end(), now.begin(), now.end());
          return Event::kChanged;
        }
      }
      waited += slice;
      if (timeout_ms >= 0 && waited >= timeout_ms) return Event::kTimeout;
    }
  }

 private:
  // The folders to watch for every file and link target, and the files
  // whose stamps tell a change (a link's own stamp says nothing of its target).
  void Plan(std::set<std::u16string>& folders, std::vector<std::u16string>& stamped, bool say) {
    stamped = files_;
    for (const std::u16string& file : files_) {
      PlanPath(file, folders, say);
      const std::u16string target = FsLinkTarget(file);
      if (target.empty()) continue;
      PlanPath(target, folders, say);
      stamped.push_back(target);
    }
  }

  // The folder of `path`, or its nearest existing parent while it is missing.
  void PlanPath(const std::u16string& path, std::set<std::u16string>& folders, bool say) {
    std::u16string folder = FsSplitPath(path).folder;
    bool said = !say;
    while (!folder.empty() && !FsIsDirectory(folder)) {
      // A file where a folder should be is named; a missing folder is not.
      const DWORD attributes = GetFileAttributesW(Wide(folder.substr(0, folder.size() - 1)).c_str());
      if (!said && attributes != INVALID_FILE_ATTRIBUTES) {
        problems_.Say(folder, Reason(ERROR_DIRECTORY));
        said = true;
      }
      const std::u16string parent = ParentOf(folder);
      if (!said && parent.empty()) problems_.Say(folder, Reason(ERROR_PATH_NOT_FOUND));
      folder = parent;
    }
    if (!folder.empty()) folders.insert(folder);
  }

  // True when a watched folder went away or a missing one appeared.
  bool PlanChanged() {
    std::set<std::u16string> folders;
    std::vector<std::u16string> stamped;
    Plan(folders, stamped, false);
    return folders != planned_ || stamped != stamped_;
  }

  void Arm() {
    CloseAll();
    planned_.clear();
    Plan(planned_, stamped_, true);
    for (const std::u16string& folder : planned_) {
      HANDLE h = FindFirstChangeNotificationW(Wide(folder).c_str(), FALSE, kChangeFilter);
      if (h == INVALID_HANDLE_VALUE) {
        problems_.Say(folder, Reason(GetLastError()));
        continue;
      }
      handles_[folder] = h;
    }
  }

  void CloseAll() {
    for (auto& [folder, h] : handles_) FindCloseChangeNotification(h);
    handles_.clear();
  }

  ProblemOnce problems_;
  std::vector<std::u16string> files_;
  std::vector<std::u16string> stamped_;
  FileStamps stamps_;
  std::set<std::u16string> planned_;
  std::map<std::u16string, HANDLE> handles_;
  int since_check_ = 0;  // milliseconds waited since the last look
};

}  // namespace

std::unique_ptr<FileWatcher> CreateFileWatcher(WatchProblemReport report) {
  return std::make_unique<NotificationWatcher>(std::move(report));
}
void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }
bool InterruptRequested() { return g_interrupted; }
void RequestInterrupt() { g_interrupted = true; }
void ClearInterrupt() { g_interrupted = false; }
