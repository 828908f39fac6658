// Change notification for a set of files, through the system's own
// mechanism (inotify on Linux, change notifications on Windows): the
// folders holding the files are watched, so an editor that saves by
// writing a new file and renaming it over the old one is seen too.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FileWatcher {
 public:
  enum class Event { kChanged, kTimeout, kInterrupted, kError };

  virtual ~FileWatcher() = default;
  // Replaces the watched set (absolute paths). Each file is watched through
  // its folder; a folder that does not exist yet through its nearest
  // existing parent, until it appears; a symbolic link through its target's
  // folder as well. False when no folder at all could be watched.
  virtual bool Watch(const std::vector<std::u16string>& files) = 0;
  // Waits up to `timeout_ms` for a change to one of the files; the names of
  // the changed files go to `changed`. A watched folder that is deleted,
  // moved or created again is watched anew, and a file that changed while
  // it was not watched counts as changed. Ctrl-C gives kInterrupted.
  virtual Event Wait(int timeout_ms, std::vector<std::u16string>* changed) = 0;
};

// Called once per folder for a watcher's life when that folder cannot be
// watched, with the system's reason.
using WatchProblemReport = std::function<void(const std::u16string& folder, const std::string& reason)>;

std::unique_ptr<FileWatcher> CreateFileWatcher(WatchProblemReport report = nullptr);

// Makes Ctrl-C end the next or current Wait instead of the process.
void CatchInterrupt();
bool InterruptRequested();
// Asks a running Wait to return kInterrupted, as Ctrl-C does; ClearInterrupt
// takes the request back (tests run several watches in one process).
void RequestInterrupt();
void ClearInterrupt();
