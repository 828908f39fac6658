// Change notification for a set of files, through the system's own
// mechanism (inotify on Linux, change notifications on Windows): the
// folders holding the files are watched, so an editor that saves by
// writing a new file and renaming it over the old one is seen too.
#pragma once
#include <memory>
#include <string>
#include <vector>

class FileWatcher {
 public:
  enum class Event { kChanged, kTimeout, kInterrupted, kError };

  virtual ~FileWatcher() = default;
  // Replaces the watched set. False when no folder of the set could be watched.
  virtual bool Watch(const std::vector<std::u16string>& files) = 0;
  // Waits up to `timeout_ms` for a change to one of the files; the names of
  // the changed files go to `changed`. Ctrl-C gives kInterrupted.
  virtual Event Wait(int timeout_ms, std::vector<std::u16string>* changed) = 0;
};

std::unique_ptr<FileWatcher> CreateFileWatcher();

// Makes Ctrl-C end the next or current Wait instead of the process.
void CatchInterrupt();
bool InterruptRequested();
// Asks a running Wait to return kInterrupted, as Ctrl-C does; ClearInterrupt
// takes the request back (tests run several watches in one process).
void RequestInterrupt();
void ClearInterrupt();
