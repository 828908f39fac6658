#include "dialogs/recent_projects.h"

#include "platform/fs.h"

std::vector<std::u16string> WithRecentProject(std::vector<std::u16string> list, const std::u16string& path) {
  std::vector<std::u16string> result{path};
  for (std::u16string& entry : list) {
    if (result.size() >= kRecentProjectsKept) break;
    if (!entry.empty() && !FsSamePlace(entry, path)) result.push_back(std::move(entry));
  }
  return result;
}

std::u16string RecentProjectLabel(size_t index, const std::u16string& path) {
  std::u16string label = u"&" + std::u16string(1, static_cast<char16_t>(u'1' + index % 9)) + u" ";
  for (char16_t c : path) {
    if (c == u'&') label += u'&';
    label += c;
  }
  return label;
}
