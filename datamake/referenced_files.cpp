#include "datamake/referenced_files.h"

#include <memory>
#include <set>

#include "platform/fs.h"
#include "platform/sjis.h"
#include "project/project_sections.h"

namespace {

// The rest of each line that starts with one of `keywords` (then a blank),
// in a Shift-JIS text.
std::vector<std::u16string> NamesAfter(const std::vector<uint8_t>& text, std::initializer_list<const char*> keywords) {
  std::vector<std::u16string> names;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\n') ++end;
    std::string line(text.begin() + pos, text.begin() + end);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    for (const char* keyword : keywords) {
      std::string k = keyword;
      if (start != std::string::npos && line.compare(start, k.size(), k) == 0 && start + k.size() < line.size() &&
          (line[start + k.size()] == ' ' || line[start + k.size()] == '\t')) {
        std::string rest = line.substr(start + k.size());
        rest = rest.substr(rest.find_first_not_of(" \t"));
        names.push_back(SjisToUtf16(rest));
      }
    }
    pos = end + 1;
  }
  return names;
}

void AddWithMaterials(const std::u16string& obj, std::set<std::u16string>& files) {
  files.insert(obj);
  std::vector<uint8_t> text;
  if (!FsReadFile(obj, text)) return;
  const std::u16string folder = FsSplitPath(obj).folder;
  for (const std::u16string& mtl : NamesAfter(text, {"mtllib"})) {
    const std::u16string mtl_path = FsIsAbsolute(mtl) ? mtl : folder + mtl;
    files.insert(mtl_path);
    std::vector<uint8_t> mtl_text;
    if (!FsReadFile(mtl_path, mtl_text)) continue;
    for (const std::u16string& texture : NamesAfter(mtl_text, {"map_Kd", "map_Ka", "map_d"})) {
      // A texture is looked for as written and beside the library.
      files.insert(texture);
      if (!FsIsAbsolute(texture)) files.insert(FsSplitPath(mtl_path).folder + FsSplitPath(texture).name +
                                               FsSplitPath(texture).ext);
    }
  }
}

}  // namespace

void ForEachPathField(const VehicleProject& original,
                      const std::function<void(const char16_t* key, const std::u16string& path, bool checked)>& visit) {
  // The section lists hand out writable references: walk a copy.
  auto p = std::make_unique<VehicleProject>(original);
  std::vector<FieldList> lists = {BodyFields(*p), SubmodelFields(*p), LightsetFields(*p), WavesetFields(*p)};
  for (TireEntry& t : p->tire) lists.push_back(TireFields(t));
  for (TruckEntry& t : p->truck) lists.push_back(TruckFields(t));
  for (OptionSet& o : p->optionset) lists.push_back(OptionFields(o));
  for (PantographEntry& e : p->pantograph) lists.push_back(PantographFields(e));
  for (const FieldList& list : lists) {
    for (const FieldRef& f : list) {
      if (f.text && !f.Text().empty()) visit(f.key, std::u16string(f.Text()), f.file != nullptr);
    }
  }
}

std::vector<std::u16string> ReferencedFiles(const VehicleProject& p, const std::u16string& project_file) {
  std::set<std::u16string> files = {project_file};
  ForEachPathField(p, [&](const char16_t*, const std::u16string& path, bool checked) {
    if (checked) {
      files.insert(ProjectPath(p, path));
    } else {
      AddWithMaterials(ProjectPath(p, path), files);
    }
  });
  return std::vector<std::u16string>(files.begin(), files.end());
}
