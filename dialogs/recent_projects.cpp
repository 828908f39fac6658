#include "dialogs/recent_projects.h"

namespace {

// Windows names files without regard to ASCII case and takes / for \.
bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x == u'/') x = u'\\';
    if (y == u'/') y = u'\\';
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::vector<std::u16string> WithRecentProject(std::vector<std::u16string> list, const std::u16string& path) {
  std::vector<std::u16string> result{path};
  for (std::u16string& entry : list) {
    if (result.size() >= kRecentProjectsKept) break;
    if (!entry.empty() && !SameName(entry, path)) result.push_back(std::move(entry));
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
