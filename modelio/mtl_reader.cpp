// The MTL reader: newmtl names the next entry, every texture map line adds
// one, with the rectangle its image header gives.
#include <algorithm>
#include <cstring>
#include <vector>

#include "modelio/file_utils.h"
#include "modelio/obj_model.h"
#include "modelio/obj_text.h"
#include "modelio/texture_headers.h"
#include "platform/fs.h"

namespace {

using objtext::NextToken;
using objtext::Token;

enum class TextureKind { kBmp, kPng, kTim };

bool EqualsIgnoringAsciiCase(const std::u16string& a, const char16_t* b) {
  size_t n = std::char_traits<char16_t>::length(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char16_t x = a[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (x != b[i]) return false;
  }
  return true;
}

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

class MtlReader {
 public:
  MtlReader(ObjModel& model, const std::u16string& path)
      : m_(model), path_(path), folder_(FsSplitPath(path).folder), tim_folder_(TimFolder(folder_)) {}

  void Read(std::vector<uint8_t>& text) {
    objtext::ForEachLine(
        text, kObjMaxLineBytes, [this](uint8_t* p, int line) { return Line(p, line); },
        [this](int line) {
          AppendModelMessage(m_, kModelMessageWarning, u"long line cut [line %d] [%s]\r\n", line, path_);
        });
  }

 private:
  bool Line(uint8_t* p, int line) {
    Token key;
    if (!NextToken(p, key)) return true;
    if (key.Is("newmtl")) {
      NewMaterial(p);
      return true;
    }
    if (key.size() > 4 && std::memcmp(key.begin, "map_", 4) == 0) return TextureMap(p, line);
    return true;
  }

  void NewMaterial(uint8_t* p) {
    if (m_.material_count >= kObjMaxMaterials) return;  // reported by the map line that would add it
    char* name = m_.materials[m_.material_count].name;
    Token token;
    size_t n = NextToken(p, token) ? std::min(token.size(), kObjMaterialNameBytes - 1) : 0;
    if (n) std::memcpy(name, token.begin, n);
    name[n] = '\0';
  }

  bool TextureMap(uint8_t* p, int line) {
    Token file;
    if (!NextToken(p, file)) return true;  // names no file: no entry
    if (m_.material_count >= kObjMaxMaterials) {
      AppendModelMessage(m_, kModelMessageError, u"too many materials [max %d] [line %d] [%s]\r\n",
                         kObjMaxMaterials, line, path_);
      ++m_.face_error_count;
      return false;
    }
    ObjMaterial& entry = m_.materials[m_.material_count];
    entry.left = entry.top = entry.width = entry.height = 0.0f;
    FindTexture(objtext::TokenText(file, kMaxPathUnits), entry);
    ++m_.material_count;
    if (m_.material_count < kObjMaxMaterials) m_.materials[m_.material_count].name[0] = '\0';
    return true;
  }

  // Reads the first candidate that exists; the last one read is kept, as
  // materials of one library mostly share their image.
  bool ReadCandidate(const std::u16string& path) {
    if (!bytes_path_.empty() && path == bytes_path_) return true;
    if (!ReadWholeFile(path, bytes_)) {
      bytes_path_.clear();  // the failed read emptied the bytes kept
      return false;
    }
    bytes_path_ = path;
    return true;
  }

  void FindTexture(const std::u16string& written, ObjMaterial& entry) {
    SplitPath split = FsSplitPath(written);
    if (split.folder.size() > 4)
      AppendModelMessage(m_, kModelMessageWarning, u"絶対パス指定 [%s]\r\n", written);
    TextureKind kind = EqualsIgnoringAsciiCase(split.ext, u".bmp")   ? TextureKind::kBmp
                       : EqualsIgnoringAsciiCase(split.ext, u".png") ? TextureKind::kPng
                                                                     : TextureKind::kTim;
    const char16_t* ext = kind == TextureKind::kBmp ? u".bmp" : kind == TextureKind::kPng ? u".png" : u".tim";
    std::u16string candidates[3];
    int count = 0;
    candidates[count++] = split.folder + split.name + ext;
    if (kind != TextureKind::kTim) candidates[count++] = folder_ + split.name + ext;
    candidates[count++] = tim_folder_ + split.name + ext;

    const std::u16string* found = nullptr;
    for (int i = 0; i < count && !found; ++i) {
      if (candidates[i].size() <= kMaxPathUnits && ReadCandidate(candidates[i])) found = &candidates[i];
    }
    CopyPath(entry.texture_path, found ? *found : candidates[count - 1]);
    if (!found) {
      const char16_t* format = kind == TextureKind::kBmp   ? u"no bmp file [%s]\r\n"
                               : kind == TextureKind::kPng ? u"no png file [%s]\r\n"
                                                           : u"no tim file [%s]\r\n";
      AppendModelMessage(m_, kModelMessageError, format, written);
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
    ImageHeader header = png ? ReadPngImageHeader(bytes_.data(), bytes_.size(), kObjMaxTextureSide)
                             : ReadBmpImageHeader(bytes_.data(), bytes_.size(), kObjMaxTextureSide);
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
    ImageHeader header = ReadTimImageHeader(bytes_.data(), bytes_.size());
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
  std::vector<uint8_t> bytes_;
  std::u16string bytes_path_;
};

// Reused between reads, apart from the OBJ text that is being read meanwhile.
thread_local std::vector<uint8_t> t_mtl_text;

}  // namespace

uint32_t ReadMtlFile(ObjModel& model, const std::u16string& mtl_path) {
  if (!FsReadFile(mtl_path, t_mtl_text)) {
    AppendModelMessage(model, kModelMessageError, u"no mtl file [%s]\r\n", mtl_path);
    return kObjResultNoMtlFile;
  }
  MtlReader(model, mtl_path).Read(t_mtl_text);
  return kObjResultOk;
}
