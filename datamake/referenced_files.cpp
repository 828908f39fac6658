#include "datamake/referenced_files.h"

#include <memory>
#include <set>

#include "modelio/obj_map_line.h"
#include "modelio/obj_model.h"
#include "modelio/obj_text.h"
#include "platform/fs.h"
#include "project/project_sections.h"

namespace {

using objtext::Token;

// Calls `on_line(key, rest)` for every line of an OBJ or MTL file, cut as
// the model reader cuts it.
template <typename OnLine>
void ForEachKeyLine(const std::u16string& path, OnLine&& on_line) {
  std::vector<uint8_t> text;
  if (!FsReadFile(path, text)) return;
  objtext::ForEachLine(
      text, kObjMaxLineBytes,
      [&](uint8_t* p, int) {
        Token key;
        if (objtext::NextToken(p, key)) on_line(key, p);
        return true;
      },
      [](int) {});
}

// A name as the reader looks it up: read as Shift-JIS, and as UTF-8 when
// its bytes are that too (modelers write UTF-8 on every system).
std::vector<std::u16string> Readings(const Token& name) {
  std::vector<std::u16string> readings = {objtext::TokenText(name, kMaxPathUnits)};
  std::u16string utf8;
  if (objtext::TokenTextUtf8(name, kMaxPathUnits, utf8) && utf8 != readings[0]) readings.push_back(utf8);
  return readings;
}

bool IsMapKey(const Token& key) {
  return key.size() > 4 && (key.begin[0] | 0x20) == 'm' && (key.begin[1] | 0x20) == 'a' &&
         (key.begin[2] | 0x20) == 'p' && key.begin[3] == '_';
}

// The textures an MTL names, everywhere the reader looks for them: as
// written against the project's folder, against the library's folder, and
// by name alone beside the library.
void AddTextures(const std::u16string& mtl, const std::u16string& base, std::set<std::u16string>& files) {
  const std::u16string folder = FsSplitPath(mtl).folder;
  ForEachKeyLine(mtl, [&](const Token& key, uint8_t* rest) {
    if (!IsMapKey(key)) return;
    const Token name = MapFileName(rest);
    if (name.begin == name.end) return;
    for (const std::u16string& texture : Readings(name)) {
      const SplitPath split = FsSplitPath(texture);
      files.insert(FsResolve(base, texture));
      files.insert(FsResolve(folder, texture));
      files.insert(folder + split.name + split.ext);
    }
  });
}

// A model, its material libraries (a name with blanks whole, and each of
// its words) and their textures.
void AddWithMaterials(const std::u16string& obj, const std::u16string& base, std::set<std::u16string>& files) {
  files.insert(obj);
  const std::u16string folder = FsSplitPath(obj).folder;
  std::vector<Token> libraries;
  ForEachKeyLine(obj, [&](const Token& key, uint8_t* rest) {
    if (!key.Is("mtllib")) return;
    libraries.push_back(objtext::RestOfLine(rest));
    Token word;
    while (objtext::NextToken(rest, word)) libraries.push_back(word);
    for (const Token& library : libraries)
      for (const std::u16string& name : Readings(library)) {
        const std::u16string mtl = FsResolve(folder, name);
        if (files.insert(mtl).second) AddTextures(mtl, base, files);
      }
    libraries.clear();
  });
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
  // A project read without its folder still lies beside its file.
  const std::u16string base = p.folder.empty() ? FsSplitPath(project_file).folder : p.folder;
  std::set<std::u16string> files = {project_file};
  ForEachPathField(p, [&](const char16_t*, const std::u16string& path, bool checked) {
    const std::u16string resolved = FsResolve(base, path);
    if (checked) {
      files.insert(resolved);
    } else {
      AddWithMaterials(resolved, base, files);
    }
  });
  return std::vector<std::u16string>(files.begin(), files.end());
}
