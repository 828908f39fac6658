#include "platform/watch_support.h"

#include "platform/fs.h"

FileStamps::Stamp FileStamps::Of(const std::u16string& path) {
  Stamp s;
  s.exists = FsFileStat(path, &s.size, &s.mtime);
  return s;
}

void FileStamps::Take(const std::vector<std::u16string>& files) {
  stamps_.clear();
  for (const std::u16string& file : files) stamps_[file] = Of(file);
}

std::vector<std::u16string> FileStamps::Changed(const std::vector<std::u16string>& files) {
  std::vector<std::u16string> changed;
  for (const std::u16string& file : files) {
    const Stamp now = Of(file);
    Stamp& recorded = stamps_[file];
    if (now != recorded) changed.push_back(file);
    recorded = now;
  }
  return changed;
}

void ProblemOnce::Say(const std::u16string& folder, const std::string& reason) {
  if (said_.insert(folder).second && report_) report_(folder, reason);
}
