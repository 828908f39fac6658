#include <limits.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <map>
#include <set>

#include "platform/ascii_case.h"
#include "platform/file_watch.h"
#include "platform/fs_native.h"
#include "platform/sjis.h"
#include "platform/watch_support.h"

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

// Every folder is watched with one mask: a change of a file in it, and its
// own end (deleted, moved away, unmounted), after which it is watched anew.
constexpr uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE |
                                   IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;
constexpr int kMaxLinkSteps = 8;  // a chain of links, or a loop, ends here

// Folder (with its trailing '/', empty when there is none) and name of a path.
void Split(const std::string& path, std::string& folder, std::string& name) {
  const size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

class InotifyWatcher : public FileWatcher {
 public:
  explicit InotifyWatcher(WatchProblemReport report)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), problems_(std::move(report)) {}
  ~InotifyWatcher() override {
    if (fd_ >= 0) close(fd_);
  }

  bool Watch(const std::vector<std::u16string>& files) override {
    if (fd_ < 0) return false;
    files_ = files;
    Arm();
    stamps_.Take(files_);
    return !armed_.empty();
  }

  Event Wait(int timeout_ms, std::vector<std::u16string>* changed) override {
    if (fd_ < 0) return Event::kError;
    int waited = 0;
    while (true) {
      if (g_interrupted) return Event::kInterrupted;
      pollfd p{fd_, POLLIN, 0};
      int slice = timeout_ms < 0 ? 100 : std::min(100, timeout_ms - waited);
      int n = poll(&p, 1, slice);
      if (n > 0 && Drain(changed)) return Event::kChanged;
      waited += slice;
      if (timeout_ms >= 0 && waited >= timeout_ms) return Event::kTimeout;
    }
  }

 private:
  struct Armed {
    std::string folder;
    std::set<std::string> names;    // lower-case names of watched files
    std::set<std::string> missing;  // lower-case names of missing folders on the way to them
  };

  // Watches the folder of every file, and of every link target on the way
  // from it; folders already watched keep their watch, so no event is lost.
  void Arm() {
    std::map<int, Armed> before = std::move(armed_);
    armed_.clear();
    for (const std::u16string& file : files_) {
      std::string path = Utf16ToUtf8(file);
      for (char& c : path)
        if (c == '\\') c = '/';
      for (int step = 0; step < kMaxLinkSteps; ++step) {
        path = FsMatchCaseOnDisk(path);
        WatchName(path);
        char target[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || n == static_cast<ssize_t>(sizeof target)) break;
        std::string folder, name;
        Split(path, folder, name);
        path = target[0] == '/' ? std::string(target, n) : folder + std::string(target, n);
      }
    }
    for (const auto& [wd, armed] : before)
      if (!armed_.count(wd)) inotify_rm_watch(fd_, wd);
  }

  // Watches `path`'s folder for its name; when the folder is missing, the
  // nearest existing parent for the name of the missing folder in it.
  void WatchName(const std::string& path) {
    std::string folder, name;
    Split(path, folder, name);
    bool missing = false, said = false;
    while (true) {
      if (folder.empty() || folder[0] != '/') {
        problems_.Say(Utf8ToUtf16(folder.empty() ? path : folder), "not a folder this system can use");
        return;
      }
      const int wd = inotify_add_watch(fd_, folder.c_str(), kFolderEvents);
      if (wd >= 0) {
        Armed& armed = armed_[wd];
        if (armed.folder.empty()) armed.folder = folder;
        (missing ? armed.missing : armed.names).insert(AsciiLowered(name));
        return;
      }
      // A folder that is there but cannot be watched is named; its parent
      // is still watched, so that mending it is noticed.
      if (errno != ENOENT && !said) {
        problems_.Say(Utf8ToUtf16(folder), std::strerror(errno));
        said = true;
      }
      if (folder == "/") return;
      Split(folder.substr(0, folder.size() - 1), folder, name);
      missing = true;
    }
  }

  // Reads every pending event; true when one names a watched file, or when
  // a watched file changed while its folder was watched anew.
  bool Drain(std::vector<std::u16string>* changed) {
    alignas(inotify_event) char buf[8192];
    bool hit = false, rearm = false;
    ssize_t n;
    while ((n = read(fd_, buf, sizeof buf)) > 0) {
      for (ssize_t off = 0; off + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
        auto* e = reinterpret_cast<inotify_event*>(buf + off);
        off += sizeof(inotify_event) + e->len;
        if (e->mask & IN_Q_OVERFLOW) rearm = true;  // events were lost: the stamps tell
        auto watched = armed_.find(e->wd);
        if (watched == armed_.end()) continue;
        if (e->mask & kFolderGone) rearm = true;
        if (e->len == 0) continue;
        const std::string name = AsciiLowered(std::string(e->name));
        if (watched->second.missing.count(name)) rearm = true;
        if (!watched->second.names.count(name)) continue;
        hit = true;
        if (changed) changed->push_back(Utf8ToUtf16(watched->second.folder + e->name));
      }
    }
    if (rearm) Arm();
    if (hit || rearm) {
      // Keeps the stamps current, so a later re-arm names only later changes.
      for (const std::u16string& file : stamps_.Changed(files_)) {
        if (rearm && changed) changed->push_back(file);
        hit = true;
      }
    }
    return hit;
  }

  int fd_;
  ProblemOnce problems_;
  std::vector<std::u16string> files_;
  FileStamps stamps_;
  std::map<int, Armed> armed_;  // by watch descriptor
};

}  // namespace

std::unique_ptr<FileWatcher> CreateFileWatcher(WatchProblemReport report) {
  return std::make_unique<InotifyWatcher>(std::move(report));
}

void CatchInterrupt() {
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

bool InterruptRequested() { return g_interrupted; }
void RequestInterrupt() { g_interrupted = true; }
void ClearInterrupt() { g_interrupted = false; }
