// The MTL reader: newmtl names the next entry, and the texture map line
// that gives a material its texture adds one, with the rectangle its image
// header gives.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "modelio/mtl_reader.h"

#include "modelio/obj_map_line.h"
#include "modelio/obj_model.h"
#include "modelio/obj_text.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/image_headers.h"

namespace {

using objtext::NextToken;
using objtext::Token;

enum class TextureKind { kBmp, kPng, kTim };

// Enough of an image for its size fields: PNG's IHDR, BMP's info header,
// the image block of a 24-bit TIM.
constexpr size_t kImageHeaderBytes = 64;

// The folder "TIM" beside the MTL file's folder: the parent of that folder
// followed by "TIM/".
std::u16string TimFolder(const std::u16string& mtl_folder) {
  if (mtl_folder.empty()) return u"../TIM/";
  std::u16string inner = mtl_folder.substr(0, mtl_folder.size() - 1);  // without its final separator
  size_t slash = inner.find_last_of(u"/\\");
  if (slash != std::u16string::npos) return inner.substr(0, slash + 1) + u"TIM/";
  bool root = inner.empty() || (inner.size() == 2 && inner[1] == u':');
  return root ? mtl_folder + u"TIM/" : std::u16string(u"TIM/");
}

void CopyPath(char16_t* out, const std::u16string& path) {
  size_t n = std::min(path.size(), kObjPathUnits - 1);
  std::memcpy(out, path.data(), n * sizeof(char16_t));
  out[n] = 0;
}

// One line of an MTL file that matters, noted in a first pass so that the
// texture of each material is known before any is read.
struct MtlLine {
  enum Kind : uint8_t { kNewMaterial, kMap, kLongLine } kind;
  bool used = false;  // a map line that gives its material's texture
  int line = 0;
  Token key;   // map lines: the keyword
  Token name;  // the material's name, or the map's file name (empty: none)
};

class MtlReader {
 public:
  MtlReader(ObjModel& model, const std::u16string& path)
      : m_(model), path_(path), folder_(FsSplitPath(path).folder), tim_folder_(TimFolder(folder_)) {}

  void Read(std::vector<uint8_t>& text, std::vector<MtlLine>& lines) {
    lines.clear();
    lines.reserve(64);  // a library's few dozen lines without growing it step by step
    objtext::ForEachLine(
        text, kObjMaxLineBytes, [&lines](uint8_t* p, int line) { return Note(p, line, lines); },
        [&lines](int line) {
          lines.push_back(MtlLine{MtlLine::kLongLine, false, line, {}, {}});
        });
    ChooseTextures(lines);
    for (const MtlLine& l : lines)
      if (!Run(l)) break;
    ReportIgnoredMaps();
  }

 private:
  static bool Note(uint8_t* p, int line, std::vector<MtlLine>& lines) {
    Token key;
    if (!NextToken(p, key)) return true;
    if (key.Is("newmtl"))
      lines.push_back(MtlLine{MtlLine::kNewMaterial, false, line, key, objtext::RestOfLine(p)});
    else if (key.size() > 4 && std::memcmp(key.begin, "map_", 4) == 0)
      lines.push_back(MtlLine{MtlLine::kMap, false, line, key, MapFileName(p)});
    return true;
  }

  // One texture per material: its map_Kd line, or else its first map line
  // (the only one a library of one map line per material has).
  static void ChooseTextures(std::vector<MtlLine>& lines) {
    MtlLine* first = nullptr;
    MtlLine* colour = nullptr;
    auto close_material = [&]() {
      if (colour || first) (colour ? colour : first)->used = true;
      first = colour = nullptr;
    };
    for (MtlLine& l : lines) {
      if (l.kind == MtlLine::kNewMaterial) close_material();
      if (l.kind != MtlLine::kMap || l.name.size() == 0) continue;
      if (!first) first = &l;
      if (!colour && IsColourMapKey(l.key)) colour = &l;
    }
    close_material();
  }

  bool Run(const MtlLine& l) {
    switch (l.kind) {
      case MtlLine::kLongLine:
        AppendModelMessage(m_, kModelMessageWarning, u"long line cut [line %d] [%s]\r\n", l.line, path_);
        return true;
      case MtlLine::kNewMaterial:
        NewMaterial(l.name);
        return true;
      case MtlLine::kMap:
        if (l.used) return TextureMap(l.name, l.line);
        if (l.name.size() != 0) NoteIgnoredMap(l);
        return true;
    }
    return true;
  }

  void NewMaterial(const Token& token) {
    if (m_.material_count >= kObjMaxMaterials) return;  // reported by the map line that would add it
    char* name = m_.materials[m_.material_count].name;
    size_t n = std::min(token.size(), kObjMaterialNameBytes - 1);
    if (n) std::memcpy(name, token.begin, n);
    name[n] = '\0';
  }

  bool TextureMap(const Token& file, int line) {
    if (m_.material_count >= kObjMaxMaterials) {
      AppendModelMessage(m_, kModelMessageError, u"too many materials [max %d] [line %d] [%s]\r\n",
                         kObjMaxMaterials, line, path_);
      ++m_.face_error_count;
      return false;
    }
    ObjMaterial& entry = m_.materials[m_.material_count];
    entry.left = entry.top = entry.width = entry.height = 0.0f;
    LookUp(file);
    FindTexture(entry);
    ++m_.material_count;
    if (m_.material_count < kObjMaxMaterials) m_.materials[m_.material_count].name[0] = '\0';
    return true;
  }

  // The whole name; but when it holds blanks and names no file that can be
  // read, its first word, which is all the name a line had before names
  // could hold blanks ("map_Kd tex.png  old note" still finds tex.png).
  // Read as Shift-JIS first; a name whose bytes are UTF-8 is then read as
  // UTF-8 too. When nothing is found, the name as it was most likely written.
  std::u16string TextureName(const Token& file) {
    const size_t first = objtext::FirstWordSize(file.begin, file.size());
    const bool blanks = first != 0 && first != file.size();
    const Token word{file.begin, file.begin + first};
    std::u16string readings[4];
    int count = 0;
    readings[count++] = objtext::TokenText(file, kMaxPathUnits);
    if (blanks) readings[count++] = objtext::TokenText(word, kMaxPathUnits);
    std::u16string utf8;
    const bool has_utf8 = objtext::TokenTextUtf8(file, kMaxPathUnits, utf8);
    if (has_utf8) {
      readings[count++] = utf8;
      if (blanks && objtext::TokenTextUtf8(word, kMaxPathUnits, readings[count])) ++count;
    }
    if (count == 1) return readings[0];
    for (int i = 0; i < count; ++i)
      if (AnyCandidateReads(readings[i])) return readings[i];
    return has_utf8 ? utf8 : readings[0];
  }

  // Map lines beside a material's texture are left out and named once.
  void NoteIgnoredMap(const MtlLine& l) {
    ++ignored_count_;
    if (ignored_count_ > kIgnoredNamed) return;
    if (!ignored_.empty()) ignored_ += u", ";
    ignored_ += objtext::TokenText(l.key, 32) + u" line ";
    for (char digit : std::to_string(l.line)) ignored_ += static_cast<char16_t>(digit);
  }

  void ReportIgnoredMaps() {
    if (ignored_count_ == 0) return;
    if (ignored_count_ > kIgnoredNamed) ignored_ += u", ...";
    AppendModelMessage(m_, kModelMessageWarning, u"one texture per material: map lines ignored [%s] [%s]\r\n",
                       ignored_, path_);
  }

  // Every material of a library usually names the same image, and its first
  // candidate often does not exist: each path is tried once per library,
  // not once per material, and a miss never loses the bytes of a hit.
  bool ReadCandidate(const std::u16string& path) {
    auto [entry, added] = tried_.try_emplace(path);
    TriedFile& tried = entry->second;
    // The size fields lie in the first bytes of every image kind.
    if (added) tried.readable = FsReadFileStart(path, kImageHeaderBytes, tried.bytes) && !tried.bytes.empty();
    bytes_ = &tried.bytes;
    return tried.readable;
  }

  struct Candidates {
    TextureKind kind;
    int count = 0;
    std::u16string paths[4];
  };

  // The folder as written, from the base folder (the script's) or else the
  // library's; the library's folder; its TIM folder; and last, for a name
  // with folders, those folders from the library's folder, as modelers
  // write them ("textures/body.png", "..\models\main.png").
  Candidates TextureCandidates(const std::u16string& written) const {
    SplitPath split = FsSplitPath(written);
    Candidates c;
    c.kind = EqualsIgnoringAsciiCase(split.ext, u".bmp")   ? TextureKind::kBmp
             : EqualsIgnoringAsciiCase(split.ext, u".png") ? TextureKind::kPng
                                                           : TextureKind::kTim;
    const char16_t* ext = c.kind == TextureKind::kBmp   ? u".bmp"
                          : c.kind == TextureKind::kPng ? u".png"
                                                        : u".tim";
    const bool has_base = m_.base_folder && !m_.base_folder->empty();
    const std::u16string& given_from = has_base ? *m_.base_folder : folder_;
    c.paths[c.count++] =
        (FsIsAbsolute(split.folder) ? split.folder : given_from + split.folder) + split.name + ext;
    if (c.kind != TextureKind::kTim) c.paths[c.count++] = folder_ + split.name + ext;
    c.paths[c.count++] = tim_folder_ + split.name + ext;
    if (has_base && !split.folder.empty() && !FsIsAbsolute(split.folder))
      c.paths[c.count++] = folder_ + split.folder + split.name + ext;
    return c;
  }

  // The first candidate that can be read, or null.
  const std::u16string* ReadFirstCandidate(const Candidates& c) {
    for (int i = 0; i < c.count; ++i)
      if (c.paths[i].size() <= kMaxPathUnits && ReadCandidate(c.paths[i])) return &c.paths[i];
    return nullptr;
  }

  bool AnyCandidateReads(const std::u16string& written) {
    return ReadFirstCandidate(TextureCandidates(written)) != nullptr;
  }

  // Where a texture name leads: the same for every material of the
  // library that names it.
  struct Lookup {
    std::u16string name;  // as written
    bool absolute;
    TextureKind kind;
    bool found;
    std::u16string path;                // the candidate read, or the last one tried
    const std::vector<uint8_t>* bytes;  // of the candidate read
    bool header_read;                   // `header` holds its image header
    ImageHeader header;
  };

  // Works out in `last_` where the map line's name `file` leads, unless
  // the map line before gave the same bytes: the materials of a library
  // usually name one image.
  void LookUp(const Token& file) {
    if (looked_up_ && file.size() == last_written_.size() &&
        std::memcmp(file.begin, last_written_.data(), file.size()) == 0)
      return;
    looked_up_ = true;
    last_written_.assign(reinterpret_cast<const char*>(file.begin), file.size());
    std::u16string written = TextureName(file);
    last_.absolute = FsIsAbsolute(written);  // as its folder part is
    last_.header_read = false;
    Candidates candidates = TextureCandidates(written);
    last_.kind = candidates.kind;
    const std::u16string* found = ReadFirstCandidate(candidates);
    last_.found = found != nullptr;
    last_.path = std::move(candidates.paths[found ? found - candidates.paths : candidates.count - 1]);
    last_.bytes = bytes_;
    last_.name = std::move(written);
  }

  // Every material says what the lookup says, messages included, even when
  // the one before named the same file.
  void FindTexture(ObjMaterial& entry) {
    const Lookup& look = last_;
    if (look.absolute) AppendModelMessage(m_, kModelMessageWarning, u"絶対パス指定 [%s]\r\n", look.name);
    const TextureKind kind = look.kind;
    const std::u16string* found = look.found ? &look.path : nullptr;
    bytes_ = look.bytes;
    CopyPath(entry.texture_path, look.path);
    if (!found) {
      const char16_t* format = kind == TextureKind::kBmp   ? u"no bmp file [%s]\r\n"
                               : kind == TextureKind::kPng ? u"no png file [%s]\r\n"
                                                           : u"no tim file [%s]\r\n";
      AppendModelMessage(m_, kModelMessageError, format, look.name);
      return;
    }
    if (kind == TextureKind::kTim)
      TimRectangle(*found, entry);
    else
      PageImageRectangle(kind, *found, entry);
  }

  // A PNG or BMP image fills the whole page, which takes its size.
  void PageImageRectangle(TextureKind kind, const std::u16string& path, ObjMaterial& entry) {
    bool png = kind == TextureKind::kPng;
    if (!last_.header_read)
      last_.header = png ? ReadPngImageHeader(bytes_->data(), bytes_->size(), kObjMaxTextureSide)
                         : ReadBmpImageHeader(bytes_->data(), bytes_->size(), kObjMaxTextureSide);
    last_.header_read = true;
    const ImageHeader& header = last_.header;
    if (header.status == ImageHeaderStatus::kNotRecognised) {
      AppendModelMessage(m_, kModelMessageWarning,
                         png ? u"png header error [%s]\r\n" : u"bmp header error [%s]\r\n", path);
      return;
    }
    if (header.status != ImageHeaderStatus::kOk) {
      AppendModelMessage(m_, kModelMessageError,
                         png ? u"png size error [%d x %d] [%s]\r\n" : u"bmp size error [%d x %d] [%s]\r\n",
                         header.width, header.height, path);
      return;
    }
    entry.width = static_cast<float>(header.width);
    entry.height = static_cast<float>(header.height);
    m_.page_width = entry.width;
    m_.page_height = entry.height;
  }

  // A TIM image is a rectangle of the page at its frame-buffer position.
  void TimRectangle(const std::u16string& path, ObjMaterial& entry) {
    ImageHeader header = ReadTimImageHeader(bytes_->data(), bytes_->size());
    switch (header.status) {
      case ImageHeaderStatus::kOk:
        entry.left = static_cast<float>(header.x);
        entry.top = static_cast<float>(header.y);
        entry.width = static_cast<float>(header.width);
        entry.height = static_cast<float>(header.height);
        return;
      case ImageHeaderStatus::kTimBits:
        AppendModelMessage(m_, kModelMessageError, u"tim bit error [BIT %d] [%s]\r\n", header.bits, path);
        return;
      case ImageHeaderStatus::kTimOddX:
        AppendModelMessage(m_, kModelMessageError, u"tim pos error [x %d] [%s]\r\n", header.x, path);
        return;
      case ImageHeaderStatus::kTimOddWidth:
        AppendModelMessage(m_, kModelMessageError, u"tim size error [dx %d] [%s]\r\n", header.width, path);
        return;
      default:
        AppendModelMessage(m_, kModelMessageError, u"tim header error [%s]\r\n", path);
        return;
    }
  }

  ObjModel& m_;
  const std::u16string& path_;
  std::u16string folder_;
  std::u16string tim_folder_;
  struct TriedFile {
    bool readable = false;
    std::vector<uint8_t> bytes;
  };
  std::unordered_map<std::u16string, TriedFile> tried_;  // node-based: `bytes_` stays valid
  bool looked_up_ = false;
  Lookup last_;               // of the latest map line
  std::string last_written_;  // the bytes that line gave
  const std::vector<uint8_t>* bytes_ = nullptr;          // of the candidate read last
  static constexpr int kIgnoredNamed = 16;
  int ignored_count_ = 0;
  std::u16string ignored_;
};

// Reused between reads, apart from the OBJ text that is being read meanwhile.
thread_local std::vector<uint8_t> t_mtl_text;
thread_local std::vector<MtlLine> t_mtl_lines;

thread_local MtlReadHook* t_mtl_hook = nullptr;

ObjResult ReadMtlFileItself(ObjModel& model, const std::u16string& mtl_path) {
  if (!FsReadSharedFile(mtl_path, t_mtl_text)) {
    AppendModelMessage(model, kModelMessageError, u"no mtl file [%s]\r\n", mtl_path);
    return ObjResult::kNoMtlFile;
  }
  MtlReader(model, mtl_path).Read(t_mtl_text, t_mtl_lines);
  return ObjResult::kOk;
}

}  // namespace

MtlReadHook* SetMtlReadHook(MtlReadHook* hook) {
  MtlReadHook* replaced = t_mtl_hook;
  t_mtl_hook = hook;
  return replaced;
}

ObjResult ReadMtlFile(ObjModel& model, const std::u16string& mtl_path) {
  return t_mtl_hook ? t_mtl_hook->ReadMtl(model, mtl_path, ReadMtlFileItself) : ReadMtlFileItself(model, mtl_path);
}
