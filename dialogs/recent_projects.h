// The list of recently used project files shown in the File menu.
#pragma once
#include <string>
#include <vector>

inline constexpr size_t kRecentProjectsKept = 8;

// `list` with `path` moved (or added) to the front; an entry naming the
// same file (letter case and separators aside) is dropped; at most
// kRecentProjectsKept entries.
std::vector<std::u16string> WithRecentProject(std::vector<std::u16string> list, const std::u16string& path);

// The menu label of entry `index` (0 for the first): "&1 C:\a\b.xml", the
// number its access key, every "&" of the path doubled so it shows as is.
std::u16string RecentProjectLabel(size_t index, const std::u16string& path);
