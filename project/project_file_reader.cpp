#include "platform/files.h"
#include "platform/fs.h"
#include "platform/sjis.h"
#include "project/number_text.h"
#include "project/project_file.h"
#include "project/project_sections.h"
#include "project/xml_document.h"

namespace {

// A project file is a few kilobytes; anything far larger is not one.
constexpr uint64_t kMaxProjectFileBytes = 4 << 20;

class ProjectReader {
 public:
  ProjectReader(VehicleProject& p, const XmlDocument& doc, ProjectReadReport& report)
      : p_(p), doc_(doc), report_(report) {}

  void ReadRoot(const XmlElement& root) {
    for (int index : root.children) {
      const XmlElement& section = Element(index);
      const std::u16string& name = section.name;
      if (name == u"infohead") {
        ReadKeys(section, InfoheadFields(p_), {});
      } else if (name == u"body") {
        ReadKeys(section, BodyFields(p_), {});
      } else if (name == u"tire") {
        if (tires_ < kTireCount) {
          ReadKeys(section, TireFields(p_.tire[tires_]), SectionScope(name, tires_ + 1));
          ++tires_;
        }
      } else if (name == u"truck") {
        if (trucks_ < kTruckCount) {
          ReadTruck(section, p_.truck[trucks_], SectionScope(name, trucks_ + 1));
          ++trucks_;
        }
      } else if (name == u"submodel") {
        ReadSubmodel(section);
      } else if (name == u"lightset") {
        ReadKeys(section, LightsetFields(p_), {});
      } else if (name == u"optionset") {
        if (options_ < kOptionCount) {
          ReadKeys(section, OptionFields(p_.optionset[options_]), SectionScope(name, options_ + 1));
          ++options_;
        }
      } else if (name == u"pantograph") {
        if (pantographs_ < kPantographCount) {
          ReadKeys(section, PantographFields(p_.pantograph[pantographs_]), SectionScope(name, pantographs_ + 1));
          ++pantographs_;
        }
      } else if (name == u"waveset") {
        ReadKeys(section, WavesetFields(p_), {});
      } else if (name == u"untendai1" || name == u"untendai2") {
        ReadKeys(section, CabFields(p_.untendai[name == u"untendai1" ? 0 : 1]), SectionScope(name, 0));
      } else if (name == u"container") {
        ReadContainer(section);
      }
    }
  }

 private:
  const XmlElement& Element(int index) const { return doc_.elements[static_cast<size_t>(index)]; }

  void ReadKeys(const XmlElement& section, const FieldList& fields, const FieldScope& scope) {
    for (int index : section.children) {
      const XmlElement& key = Element(index);
      for (const FieldRef& f : fields) {
        if (key.name == f.key) {
          if (f.text) NoteCut(scope, f.key, key.text, f.capacity);
          Apply(f, key.text, scope);
          break;
        }
      }
    }
  }

  // A text too long for its field is stored cut, as before, and reported.
  void NoteCut(const FieldScope& scope, std::u16string_view key, const std::u16string& text, size_t capacity) {
    if (text.size() >= capacity) report_.read_findings.push_back(TooLongFinding(scope, key, capacity - 1));
  }

  void Apply(const FieldRef& f, const std::u16string& text, const FieldScope& scope) {
    if (f.text) {
      if (f.rule == FieldRule::kOutPath) {
        SetOutPath(p_, text);
      } else if (f.rule == FieldRule::kFile) {
        FileCheck why;
        if (!SetFileField(p_, *f.file, text, &why)) {
          // Only this key is left out; the rest of the file still counts.
          PathText cut;
          cut.Set(text);
          report_.dropped.push_back({f.file, cut.str(), why});
        }
      } else {
        SetFixedText(f.text, f.capacity, text);
      }
    } else if (f.integer) {
      int32_t v = ReadLenientInt(text);
      switch (f.rule) {
        case FieldRule::kSpeed:
        case FieldRule::kTilt: {
          const bool speed = f.rule == FieldRule::kSpeed;
          if (v >= (speed ? 1 : 0) && v <= (speed ? 500 : 8)) {
            *f.integer = v;
          } else {
            const std::string kept = std::to_string(*f.integer);
            report_.read_findings.push_back(
                ReplacedFinding(scope, f.key, text, std::u16string(kept.begin(), kept.end())));
          }
          break;
        }
        case FieldRule::kFlag:
          *f.integer = v != 0 ? 1 : 0;
          break;
        default:
          *f.integer = v;
      }
    } else {
      *f.real = ReadLenientFloat(text);
    }
  }

  void ReadTruck(const XmlElement& section, TruckEntry& truck, const FieldScope& scope) {
    ReadKeys(section, TruckFields(truck), scope);
    int mounts = 0;
    for (int index : section.children) {
      const XmlElement& child = Element(index);
      if (child.name == u"tirein" && mounts < kMountsPerTruck) {
        ReadKeys(child, MountFields(truck.tirein[mounts]), SectionScope(child.name, mounts + 1, scope));
        ++mounts;
      }
    }
  }

  void ReadSubmodel(const XmlElement& section) {
    // Each "modelHM" takes the next head mark, starting again in every section.
    FieldList fields = SubmodelFields(p_);
    fields.resize(3);
    ReadKeys(section, fields, {});
    int marks = 0;
    for (int index : section.children) {
      const XmlElement& key = Element(index);
      if (key.name == u"modelHM" && marks < kHeadMarkCount) {
        PathText& mark = p_.modelHM[marks++];
        NoteCut({}, u"modelHM" + std::u16string(1, static_cast<char16_t>(u'0' + marks)), key.text,
                PathText::kCapacity);
        mark.Set(key.text);
      }
    }
  }

  void ReadContainer(const XmlElement& section) {
    if (containers_ >= kContainerCount) return;
    ContainerSlot slot{1, 0, 0, 0};  // a missing type reads as 1
    const FieldScope scope = SectionScope(section.name, containers_ + 1);
    ReadKeys(section, ContainerFields(slot), scope);
    SetContainer(p_, containers_, slot.type, slot.posx, slot.posy, slot.posz);
    // Positions are clamped to the container place's range.
    const ContainerSlot& kept = p_.container[containers_++];
    const struct {
      const char16_t* key;
      float read, kept;
    } kPositions[] = {{u"posx", slot.posx, kept.posx}, {u"posy", slot.posy, kept.posy}, {u"posz", slot.posz, kept.posz}};
    for (const auto& pos : kPositions) {
      if (pos.read == pos.kept || (pos.read != pos.read && pos.kept != pos.kept)) continue;
      const std::string read = std::to_string(pos.read), clamped = std::to_string(pos.kept);
      report_.read_findings.push_back(ReplacedFinding(scope, pos.key, std::u16string(read.begin(), read.end()),
                                                       std::u16string(clamped.begin(), clamped.end())));
    }
  }

  VehicleProject& p_;
  const XmlDocument& doc_;
  ProjectReadReport& report_;
  int tires_ = 0, trucks_ = 0, options_ = 0, pantographs_ = 0, containers_ = 0;
};

// The root element of a project text: a file as the writer makes it reads
// as it always has; one written by another tool or by hand may name its
// encoding in another case, or lack the declaration when its root element
// is the project's. -1 when the text is no project.
int FindRoot(XmlDocument& doc, const std::u16string& text) {
  if (ParseXml(doc, text.data(), text.size())) return FindElement(doc, doc.top_level, u"zektrainsrc");
  const XmlEncoding encoding = DeclaredXmlEncoding(text);
  if (encoding == XmlEncoding::kUnknown || !ParseXmlMarkup(doc, text.data(), text.size())) return -1;
  if (encoding != XmlEncoding::kNone) return FindElement(doc, doc.top_level, u"zektrainsrc");
  if (doc.top_level.empty() || doc.elements[static_cast<size_t>(doc.top_level[0])].name != u"zektrainsrc") return -1;
  return doc.top_level[0];
}

// The file again, decoded from Shift-JIS, line ends as LF.
bool ReadShiftJisText(const std::u16string& path, std::u16string& text) {
  std::vector<uint8_t> bytes;
  if (!FsReadFile(path, bytes)) return false;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return true;  // UTF-8 after all
  std::string sjis;
  sjis.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    sjis.push_back(static_cast<char>(bytes[i]));
  }
  text = SjisToUtf16(sjis);
  return true;
}

}  // namespace

bool ReadProjectText(VehicleProject& p, const std::u16string& text, ProjectReadReport* report) {
  ProjectReadReport local;
  ProjectReadReport& r = report ? *report : local;
  r = ProjectReadReport();
  XmlDocument doc;
  const int root = FindRoot(doc, text);
  if (root == -1) {
    r.not_project = true;
    return false;
  }
  ResetProject(p);
  ProjectReader(p, doc, r).ReadRoot(doc.elements[static_cast<size_t>(root)]);
  return true;
}

bool ReadProjectFile(VehicleProject& p, const std::u16string& path, ProjectReadReport* report) {
  uint64_t size = 0;
  std::u16string text;
  if (!FsFileStat(path, &size, nullptr) || size > kMaxProjectFileBytes || !ReadUtf8TextFile(path, text) ||
      (DeclaredXmlEncoding(text) == XmlEncoding::kShiftJis && !ReadShiftJisText(path, text))) {
    if (report) {
      *report = ProjectReadReport();
      report->unreadable = true;
    }
    return false;
  }
  // The files the project names are checked from its own folder while it is
  // read; a file that is no project leaves the project as it was.
  std::u16string previous_folder = std::move(p.folder);
  p.folder = FsSplitPath(path).folder;
  const bool read = ReadProjectText(p, text, report);
  if (!read) p.folder = std::move(previous_folder);
  return read;
}

std::u16string DroppedFilesMessage(const std::vector<DroppedFile>& dropped) {
  std::u16string message = u"次のファイルは読み込めないか不適切なため、設定しませんでした。";
  for (const DroppedFile& d : dropped) {
    message += u"\n";
    message += d.field->label;
    message += u" (";
    message += d.field->key;
    message += d.why == FileCheck::kUnreadable ? u", 読み込めません): " : u", 形式が不適切です): ";
    message += d.path;
  }
  return message;
}
