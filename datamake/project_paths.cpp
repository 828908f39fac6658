#include "datamake/project_paths.h"

#include <memory>
#include <vector>

#include "datamake/referenced_files.h"
#include "platform/fs.h"
#include "project/project_sections.h"

namespace {

// Components with "." dropped and ".." applied; the first is the root: ""
// for "/x", "C:" for "C:\x".
std::vector<std::u16string> Parts(const std::u16string& path) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(u"/\\", start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(start, end - start);
    if (parts.empty()) {
      parts.push_back(part);
    } else if (part == u"..") {
      if (parts.size() > 1) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  return parts;
}

bool SamePart(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x += 32;
    if (y >= u'A' && y <= u'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

// The project's path fields, writable, in the order of the file.
std::vector<FieldRef> PathFields(VehicleProject& p) {
  std::vector<FieldList> lists = {BodyFields(p), SubmodelFields(p), LightsetFields(p), WavesetFields(p)};
  for (TireEntry& t : p.tire) lists.push_back(TireFields(t));
  for (TruckEntry& t : p.truck) lists.push_back(TruckFields(t));
  for (OptionSet& o : p.optionset) lists.push_back(OptionFields(o));
  for (PantographEntry& e : p.pantograph) lists.push_back(PantographFields(e));
  std::vector<FieldRef> fields;
  for (const FieldList& list : lists)
    for (const FieldRef& f : list)
      if (f.text) fields.push_back(f);
  return fields;
}

}  // namespace

bool SamePlace(const std::u16string& a, const std::u16string& b) {
  const std::vector<std::u16string> x = Parts(a), y = Parts(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (!SamePart(x[i], y[i])) return false;
  return true;
}

std::u16string PathFrom(const std::u16string& folder, const std::u16string& target) {
  const std::vector<std::u16string> from = Parts(folder), to = Parts(target);
  if (from.empty() || to.empty() || !SamePart(from[0], to[0])) return target;
  size_t common = 1;
  while (common < from.size() && common < to.size() - 1 && SamePart(from[common], to[common])) ++common;
  std::u16string relative;
  for (size_t i = common; i < from.size(); ++i) relative += u"..\\";
  for (size_t i = common; i < to.size(); ++i) relative += to[i] + (i + 1 < to.size() ? u"\\" : u"");
  return relative;
}

std::u16string InputAt(const VehicleProject& p, const std::u16string& project_file,
                       const std::u16string& output) {
  for (const std::u16string& input : ReferencedFiles(p, project_file))
    if (FsIsAbsolute(input) && SamePlace(input, output)) return input;
  return {};
}

bool RebaseProjectPaths(VehicleProject& p, const std::u16string& folder) {
  auto copy = std::make_unique<VehicleProject>(p);
  auto rebase = [&](std::u16string_view path, auto store) {
    if (path.empty() || FsIsAbsolute(std::u16string(path))) return true;
    const std::u16string moved = PathFrom(folder, ProjectPath(p, path));
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
