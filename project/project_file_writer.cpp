#include <memory>

#include "platform/files.h"
#include "platform/fs.h"
#include "platform/sjis.h"
#include "project/number_text.h"
#include "project/project_file.h"
#include "project/project_sections.h"
#include "project/stored_paths.h"

namespace {

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (char c : Utf16ToUtf8(std::u16string(text))) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

class ProjectWriter {
 public:
  void Line(const char* text) {
    out_ += text;
    out_ += "\r\n";
  }
  void Value(const FieldRef& f) {
    const std::string key = Utf16ToUtf8(f.key);
    std::string value;
    if (f.text)
      value = Escaped(f.Text());
    else if (f.integer)
      value = FormatInt(*f.integer);
    else
      value = FormatFloat(*f.real);
    out_ += "\t<" + key + ">" + value + "</" + key + ">\r\n";
  }
  void Section(const char* name, const FieldList& fields) {
    Open(name);
    for (const FieldRef& f : fields) Value(f);
    Close(name);
  }
  void Open(const char* name) { out_ += std::string("<") + name + ">\r\n"; }
  void Close(const char* name) { out_ += std::string("</") + name + ">\r\n"; }
  std::string& Text() { return out_; }

 private:
  std::string out_;
};

}  // namespace

std::string FormatProjectFile(const VehicleProject& project) {
  // The field lists hand out writable references; the writer only reads them.
  VehicleProject& p = const_cast<VehicleProject&>(project);
  ProjectWriter w;
  w.Line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  w.Line("<zektrainsrc>");
  w.Section("infohead", InfoheadFields(p));
  w.Section("body", BodyFields(p));

  // The reader packs wheel entries together, so mounts are numbered by the
  // order the wheels are written in: the wheels written first, then the
  // empty entries.
  int32_t wheel_number[kTireCount + 1] = {0};
  int32_t next = 1;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < kTireCount; ++i)
      if (p.tire[i].modelTire.empty() == (pass == 1)) wheel_number[i + 1] = next++;
  for (TireEntry& tire : p.tire)
    if (!tire.modelTire.empty()) w.Section("tire", TireFields(tire));

  for (TruckEntry& truck : p.truck) {
    if (truck.type == 0) continue;
    w.Open("truck");
    for (const FieldRef& f : TruckFields(truck)) w.Value(f);
    for (const TireMount& mount : truck.tirein) {
      if (mount.tireID == 0) continue;
      TireMount written = mount;
      if (written.tireID >= 1 && written.tireID <= kTireCount) written.tireID = wheel_number[written.tireID];
      w.Section("tirein", MountFields(written));
    }
    w.Close("truck");
  }
  w.Section("submodel", SubmodelFields(p));
  w.Section("lightset", LightsetFields(p));
  for (OptionSet& option : p.optionset) w.Section("optionset", OptionFields(option));
  for (PantographEntry& pantograph : p.pantograph) w.Section("pantograph", PantographFields(pantograph));
  w.Section("waveset", WavesetFields(p));
  w.Section("untendai1", CabFields(p.untendai[0]));
  w.Section("untendai2", CabFields(p.untendai[1]));
  for (ContainerSlot& slot : p.container)
    if (slot.type != 0) w.Section("container", ContainerFields(slot));
  w.Line("</zektrainsrc>");
  return std::move(w.Text());
}

bool WriteProjectFile(const VehicleProject& p, const std::u16string& path) {
  auto stored = std::make_unique<VehicleProject>(p);
  StorePathsFor(*stored, FsSplitPath(path).folder);
  const std::string text = FormatProjectFile(*stored);
  return WriteWholeFile(path, text.data(), text.size());
}
