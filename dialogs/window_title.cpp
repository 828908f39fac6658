#include "dialogs/window_title.h"

#include "platform/fs.h"

std::u16string MainWindowTitle(const std::u16string& path, bool has_file, bool changed) {
  std::u16string name;
  if (has_file) {
    const SplitPath parts = FsSplitPath(path);
    name = parts.name + parts.ext;
  }
  if (name.empty()) name = kUntitledProject;
  return (changed ? std::u16string(kUnsavedMark) : std::u16string()) + name + u" - " + kProgramTitle;
}
