#include "datamake/project_paths.h"

#include <memory>

#include "datamake/referenced_files.h"
#include "platform/fs.h"
#include "project/project_sections.h"

std::u16string InputAt(const VehicleProject& p, const std::u16string& project_file,
                       const std::u16string& output) {
  for (const std::u16string& input : ReferencedFiles(p, project_file))
    if (FsIsAbsolute(input) && FsSamePlace(input, output)) return input;
  return {};
}

bool RebaseProjectPaths(VehicleProject& p, const std::u16string& folder) {
  auto copy = std::make_unique<VehicleProject>(p);
  auto rebase = [&](std::u16string_view path, auto store) {
    if (path.empty() || FsIsAbsolute(std::u16string(path))) return true;
    const std::u16string moved = FsPathFrom(folder, ProjectPath(p, path));
    if (moved.size() > kMaxPathUnits) return false;
    store(moved);
    return true;
  };
  bool fits = rebase(p.outpath.view(), [&](const std::u16string& moved) { copy->outpath.Set(moved); });
  for (const FieldRef& f : PathFields(*copy)) {
    fits = fits && rebase(f.Text(), [&](const std::u16string& moved) {
      SetFixedText(f.text, f.capacity, moved);
    });
  }
  if (!fits) return false;
  copy->folder = folder;
  p = *copy;
  return true;
}
