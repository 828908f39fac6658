#include "project/stored_paths.h"

#include "platform/fs.h"
#include "project/project_sections.h"

namespace {

// One path as the file in `folder` keeps it.
std::u16string StoredPath(const VehicleProject& p, const std::u16string& folder, std::u16string_view path) {
  const std::u16string written(path);
  const std::u16string place = ProjectPath(p, written);
  if (written.empty() || !FsIsAbsolute(place)) return written;
  if (FsSamePlace(place, folder)) return u".";
  const std::u16string relative = FsPathFrom(folder, place);
  const bool inside = !FsIsAbsolute(relative) && relative.compare(0, 3, u"..\\") != 0;
  return inside ? relative : place;
}

}  // namespace

void StorePathsFor(VehicleProject& p, const std::u16string& folder) {
  if (!FsIsAbsolute(folder)) {
    p.folder = folder;
    return;
  }
  const std::u16string out = StoredPath(p, folder, p.outpath.view());
  if (out.size() <= kMaxPathUnits) p.outpath.Set(out);
  for (const FieldRef& f : PathFields(p)) {
    const std::u16string stored = StoredPath(p, folder, f.Text());
    if (stored.size() < f.capacity) SetFixedText(f.text, f.capacity, stored);
  }
  p.folder = folder;
}
