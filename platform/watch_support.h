// What both file watchers share: the files' stamps, which tell a change
// that no notification reported, and saying each unwatchable folder once.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_watch.h"

class FileStamps {
 public:
  // Records the size and time of each file now, forgetting earlier ones.
  void Take(const std::vector<std::u16string>& files);
  // The files whose stamp differs from the recorded one (appeared, gone,
  // resized or rewritten); their new stamps are recorded. A file never
  // recorded counts as one that did not exist.
  std::vector<std::u16string> Changed(const std::vector<std::u16string>& files);

 private:
  struct Stamp {
    bool exists = false;
    uint64_t size = 0;
    int64_t mtime = 0;
    bool operator!=(const Stamp& o) const { return exists != o.exists || size != o.size || mtime != o.mtime; }
  };
  static Stamp Of(const std::u16string& path);
  std::map<std::u16string, Stamp> stamps_;
};

class ProblemOnce {
 public:
  explicit ProblemOnce(WatchProblemReport report) : report_(std::move(report)) {}
  // Passes the problem on unless this folder was named before.
  void Say(const std::u16string& folder, const std::string& reason);

 private:
  WatchProblemReport report_;
  std::set<std::u16string> said_;
};
