#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <map>
#include <set>

#include "platform/file_watch.h"
#include "platform/fs.h"
#include "platform/sjis.h"

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c += 32;
  return s;
}

class InotifyWatcher : public FileWatcher {
 public:
  InotifyWatcher() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~InotifyWatcher() override {
    if (fd_ >= 0) close(fd_);
  }

  bool Watch(const std::vector<std::u16string>& files) override {
    if (fd_ < 0) return false;
    for (const auto& [wd, folder] : folders_) inotify_rm_watch(fd_, wd);
    folders_.clear();
    names_.clear();
    std::map<std::string, int> by_folder;
    for (const std::u16string& file : files) {
      std::string path = Utf16ToUtf8(FsAbsolute(file));
      for (char& c : path)
        if (c == '\\') c = '/';
      size_t slash = path.rfind('/');
      std::string folder = path.substr(0, slash + 1);
      if (!by_folder.count(folder)) {
        int wd = inotify_add_watch(fd_, folder.c_str(),
                                   IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MODIFY);
        if (wd < 0) continue;
        by_folder[folder] = wd;
        folders_[wd] = folder;
      }
      // Names match as Windows matches them: without regard to ASCII case.
      names_[by_folder[folder]].insert(Lower(path.substr(slash + 1)));
    }
    return !folders_.empty();
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
  // Reads every pending event; true when one names a watched file.
  bool Drain(std::vector<std::u16string>* changed) {
    alignas(inotify_event) char buf[8192];
    bool hit = false;
    ssize_t n;
    while ((n = read(fd_, buf, sizeof buf)) > 0) {
      for (ssize_t off = 0; off + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
        auto* e = reinterpret_cast<inotify_event*>(buf + off);
        off += sizeof(inotify_event) + e->len;
        if (e->len == 0) continue;
        auto watched = names_.find(e->wd);
        if (watched == names_.end()) continue;
        if (!watched->second.count(Lower(e->name))) continue;
        hit = true;
        if (changed) changed->push_back(Utf8ToUtf16(folders_[e->wd] + e->name));
      }
    }
    return hit;
  }

  int fd_;
  std::map<int, std::string> folders_;                    // watch descriptor -> folder
  std::map<int, std::set<std::string>> names_;             // -> lower-case names
};

}  // namespace

std::unique_ptr<FileWatcher> CreateFileWatcher() { return std::make_unique<InotifyWatcher>(); }

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
