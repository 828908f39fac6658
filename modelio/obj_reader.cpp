// The OBJ reader: one pass over the file's bytes, one line at a time, every
// line dispatched on its first token. Faces become corners, indices and a
// flat face normal at once.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "compiler/data_file.h"
#include "modelio/obj_model.h"
#include "modelio/obj_text.h"
#include "modelio/vector3.h"
#include "platform/fs.h"

namespace {

using objtext::NextNumber;
using objtext::NextToken;
using objtext::Token;

enum class CornerForm { kOk, kNoUv, kBad };

struct CornerRef {
  int32_t position = 0;
  int32_t tex_coord = 0;
  int32_t normal = -1;  // -1: the corner gives none
};

// One "%d" field as sscanf reads it: optional sign and at least one digit,
// clamped like strtol. `last` fields may be followed by other bytes.
bool ParseIndexField(const uint8_t* p, const uint8_t* end, bool last, int64_t& value) {
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  const uint8_t* digits = p;
  int64_t v = 0;
  while (p < end && static_cast<unsigned>(*p - '0') < 10) {
    if (v < 0x100000000LL) v = v * 10 + (*p - '0');
    ++p;
  }
  if (p == digits || (!last && p != end)) return false;
  value = negative ? -v : v;
  return true;
}

// 1-based, or negative counted back from the entries read so far.
bool ResolveIndex(int64_t written, int32_t count, int32_t& index) {
  int64_t i = written > 0 ? written - 1 : written < 0 ? count + written : -1;
  if (i < 0 || i >= count) return false;
  index = static_cast<int32_t>(i);
  return true;
}

// Splits "p/t" or "p/t/n". A token with "//" or without "/" has no texture
// coordinate; more than two "/" or a missing number is malformed.
CornerForm SplitCorner(const Token& token, int64_t fields[3], int& field_count) {
  const uint8_t* slashes[3];
  int count = 0;
  for (const uint8_t* p = token.begin; p < token.end; ++p) {
    if (*p != '/') continue;
    if (p + 1 < token.end && p[1] == '/') return CornerForm::kNoUv;
    if (count == 2) return CornerForm::kBad;
    slashes[count++] = p;
  }
  if (count == 0) return CornerForm::kNoUv;
  const uint8_t* start = token.begin;
  for (int i = 0; i <= count; ++i) {
    const uint8_t* end = i < count ? slashes[i] : token.end;
    if (!ParseIndexField(start, end, i == count, fields[i])) return CornerForm::kBad;
    start = end + 1;
  }
  field_count = count + 1;
  return CornerForm::kOk;
}

class ObjReader {
 public:
  ObjReader(ObjModel& model, const std::u16string& path)
      : m_(model), path_(path), folder_(FsSplitPath(path).folder) {}

  uint32_t Read(std::vector<uint8_t>& text) {
    objtext::ForEachLine(
        text, kObjMaxLineBytes, [this](uint8_t* p, int line) { return Line(p, line); },
        [this](int line) {
          AppendModelMessage(m_, kModelMessageWarning, u"long line cut [line %d] [%s]\r\n", line, path_);
        });
    return result_;
  }

 private:
  bool Line(uint8_t* p, int line) {
    line_ = line;
    Token key;
    if (!NextToken(p, key)) return true;
    const uint8_t* k = key.begin;
    switch (key.size()) {
      case 1:
        if (k[0] == 'v') return Position(p);
        if (k[0] == 'f') return Face(p);
        if (k[0] == 'g') return Group(p);
        if (k[0] == 's') return Smoothing(p);
        return true;
      case 2:
        if (k[0] == 'v' && k[1] == 'n') return Normal(p);
        if (k[0] == 'v' && k[1] == 't') return TexCoord(p);
        return true;
      case 6:
        if (key.Is("usemtl")) return UseMaterial(p);
        if (key.Is("mtllib")) return MaterialLibraries(p);
        return true;
      default:
        return true;
    }
  }

  bool Stop(const char16_t* message) {
    AppendModelMessage(m_, kModelMessageError, message);
    ++m_.face_error_count;
    result_ = kObjResultStopped;
    return false;
  }
  bool StopFull(const char16_t* what, int32_t limit) {
    AppendModelMessage(m_, kModelMessageError, u"too many %s [max %d] [line %d]\r\n", what, limit, line_);
    ++m_.face_error_count;
    result_ = kObjResultStopped;
    return false;
  }

  bool Position(uint8_t* p) {
    if (m_.position_count >= kObjMaxPositions) return StopFull(u"positions", kObjMaxPositions);
    float* v = m_.positions[m_.position_count++];
    v[0] = NextNumber(p);
    v[1] = NextNumber(p);
    v[2] = NextNumber(p);
    if (m_.mirror_z) v[2] = -v[2];
    return true;
  }

  bool Normal(uint8_t* p) {
    if (m_.normal_count >= kObjMaxNormals) return StopFull(u"normals", kObjMaxNormals);
    float n[3];
    n[0] = NextNumber(p);
    n[1] = NextNumber(p);
    n[2] = NextNumber(p);
    float* v = m_.normals[m_.normal_count++];
    // A normal that cannot be normalized stays (0, 0, 0): its corners take
    // the face normal instead.
    Normalize3(n, v);
    if (m_.mirror_z) v[2] = -v[2];
    return true;
  }

  bool TexCoord(uint8_t* p) {
    if (m_.tex_coord_count >= kObjMaxTexCoords) return StopFull(u"uvs", kObjMaxTexCoords);
    float* t = m_.tex_coords[m_.tex_coord_count++];
    t[0] = NextNumber(p);
    t[1] = NextNumber(p);
    return true;
  }

  bool Group(uint8_t* p) {
    if (m_.group_count >= kObjMaxGroups) return StopFull(u"groups", kObjMaxGroups);
    ObjGroup& group = m_.groups[m_.group_count++];
    Token name;
    if (NextToken(p, name)) {
      size_t n = std::min(name.size(), kObjGroupNameBytes - 1);
      std::memcpy(group.name, name.begin, n);
      group.name[n] = '\0';
    } else {
      std::snprintf(group.name, sizeof group.name, "DMYSET%d",
                    static_cast<int>(NextProcessRandom() & 0x7FFF));
    }
    group.material = -1;
    group.first_position = m_.position_count;
    return true;
  }

  bool MaterialLibraries(uint8_t* p) {
    // Every file named on the line, as far as the 32 tokens of a line go.
    Token file;
    for (int n = 1; n < 32 && NextToken(p, file); ++n) {
      std::u16string mtl = folder_ + objtext::TokenText(file, kMaxPathUnits);
      if (mtl.size() > kMaxPathUnits) mtl.resize(kMaxPathUnits);
      ReadMtlFile(m_, mtl);
      if (m_.face_error_count > 0) {  // the material table is full
        result_ = kObjResultStopped;
        return false;
      }
    }
    return true;
  }

  bool Smoothing(uint8_t* p) {
    Token arg;
    m_.smoothing_on = NextToken(p, arg) && !arg.Is("0") && !arg.Is("off");
    return true;
  }

  bool UseMaterial(uint8_t* p) {
    if (m_.group_count == 0) return Stop(u"no group\r\n");
    Token name;
    if (NextToken(p, name)) {
      for (int32_t i = 0; i < m_.material_count; ++i) {
        const char* stored = m_.materials[i].name;
        if (std::strlen(stored) == name.size() && std::memcmp(stored, name.begin, name.size()) == 0) {
          m_.current_material = i;
          break;
        }
      }
    }
    m_.groups[m_.group_count - 1].material = m_.current_material;
    return true;
  }

  bool BadCorner(const Token& corner) {
    std::u16string text = objtext::TokenText(corner, 64);
    AppendModelMessage(m_, kModelMessageError, u"index error [%s] [line %d]\r\n", text, line_);
    ++m_.face_error_count;
    result_ = kObjResultStopped;
    return false;
  }

  // The common face: two to four corners "p/t" or "p/t/n" of plain numbers
  // inside the arrays. Anything else goes the careful way, which says what
  // is wrong.
  bool Face(uint8_t* p) {
    CornerRef refs[4];
    int n = 0;
    for (uint8_t* q = p;;) {
      while (objtext::ClassOf(*q) == objtext::kSeparator) ++q;
      if (objtext::ClassOf(*q) == objtext::kLineEnd) break;
      if (n == 4 || !PlainCorner(q, refs[n])) return CheckedFace(p);
      ++n;
    }
    if (n < 3) return CheckedFace(p);
    return AddCheckedFace(refs, n);
  }

  // One index of up to seven digits, 1 ... count.
  static bool PlainIndex(uint8_t*& q, int32_t count, int32_t& index) {
    const uint8_t* digits = q;
    uint64_t value = 0;  // wraps only past 19 digits, which fail below
    while (objtext::IsDigit(*q)) value = value * 10 + (*q++ - '0');
    if (q - digits > 7 || value == 0 || value > static_cast<uint64_t>(count)) return false;
    index = static_cast<int32_t>(value) - 1;
    return true;
  }

  bool PlainCorner(uint8_t*& q, CornerRef& ref) const {
    if (!PlainIndex(q, m_.position_count, ref.position) || *q++ != '/' ||
        !PlainIndex(q, m_.tex_coord_count, ref.tex_coord))
      return false;
    ref.normal = -1;
    if (*q == '/') {
      ++q;
      if (!PlainIndex(q, m_.normal_count, ref.normal)) return false;
    }
    uint8_t c = objtext::ClassOf(*q);
    if (c == objtext::kToken) return false;
    if (c != objtext::kLineEnd) ++q;  // the byte that ended the corner
    return true;
  }

  bool CheckedFace(uint8_t* p) {
    Token tokens[5];
    int n = objtext::SplitTokens(p, tokens, 5);
    if (n < 2) return Stop(u"1-point polygon\r\n");
    if (n < 3) return Stop(u"2-point polygon\r\n");
    if (n > 4) return Stop(u"5-point polygon\r\n");

    CornerRef refs[4];
    for (int i = 0; i < n; ++i) {
      int64_t fields[3];
      int field_count = 0;
      CornerForm form = SplitCorner(tokens[i], fields, field_count);
      if (form == CornerForm::kNoUv) return Stop(u"no uv polygon\r\n");
      if (form == CornerForm::kBad) return BadCorner(tokens[i]);
      CornerRef& ref = refs[i];
      if (!ResolveIndex(fields[0], m_.position_count, ref.position) ||
          !ResolveIndex(fields[1], m_.tex_coord_count, ref.tex_coord) ||
          (field_count == 3 && !ResolveIndex(fields[2], m_.normal_count, ref.normal)))
        return BadCorner(tokens[i]);
    }
    return AddCheckedFace(refs, n);
  }

  bool AddCheckedFace(const CornerRef* refs, int n) {
    int index_need = n == 4 ? 6 : 3;
    if (m_.face_count >= kObjMaxFaces) return StopFull(u"faces", kObjMaxFaces);
    if (m_.corner_count + n > kObjMaxCorners) return StopFull(u"corners", kObjMaxCorners);
    if (m_.index_count + index_need > kObjMaxIndices) return StopFull(u"indices", kObjMaxIndices);
    AddFace(refs, n);
    return true;
  }

  void FaceNormal(const CornerRef* refs, float normal[3]) const {
    const float* p0 = m_.positions[refs[0].position];
    const float* p1 = m_.positions[refs[1].position];
    const float* p2 = m_.positions[refs[2].position];
    float a[3] = {p0[0] - p1[0], p0[1] - p1[1], p0[2] - p1[2]};
    float b[3] = {p0[0] - p2[0], p0[1] - p2[1], p0[2] - p2[2]};
    float cross[3];
    Cross3(a, b, cross);
    if (!Normalize3(cross, normal)) std::memcpy(normal, kFallbackNormal, sizeof kFallbackNormal);
    if (m_.invert_face_normals) {
      normal[0] = -normal[0];
      normal[1] = -normal[1];
      normal[2] = -normal[2];
    }
  }

  // Texture coordinates into the page: u' = u * RW / PW + L / PW (U flipped
  // before), v' = v * RH / PH + T / PH (V flipped after); 0, 0 without a
  // material. The offsets are the same for every corner of a face.
  struct PageMapping {
    bool on = false, flip_u = false, flip_v = false;
    float width = 0, height = 0, page_width = 1, page_height = 1, left = 0, top = 0;

    explicit PageMapping(const ObjModel& m) {
      if (m.current_material < 0) return;
      const ObjMaterial& mat = m.materials[m.current_material];
      on = true;
      flip_u = m.flip_u != 0;
      flip_v = m.flip_v != 0;
      width = mat.width;
      height = mat.height;
      page_width = m.page_width;
      page_height = m.page_height;
      left = mat.left / page_width;
      top = mat.top / page_height;
    }
    void Map(const float* t, float* uv) const {
      if (!on) {
        uv[0] = uv[1] = 0.0f;
        return;
      }
      float u = flip_u ? 1.0f - t[0] : t[0];
      uv[0] = u * width / page_width + left;
      float v = t[1] * height / page_height + top;
      uv[1] = flip_v ? 1.0f - v : v;
    }
  };

  void AddFace(const CornerRef* refs, int n) {
    const int32_t first = m_.corner_count;
    const int32_t face_index = m_.face_count;
    const int32_t group = m_.group_count - 1;
    const bool smooth = m_.smoothing_on != 0;
    const PageMapping page(m_);
    float normal[3];
    FaceNormal(refs, normal);

    ObjFace& face = m_.faces[face_index];
    face.corner_count = n;
    for (int i = 0; i < n; ++i) {
      const CornerRef& ref = refs[i];
      const bool gave_normal = ref.normal >= 0;
      face.corners[i][0] = static_cast<uint16_t>(ref.position);
      face.corners[i][1] = static_cast<uint16_t>(ref.tex_coord);
      face.corners[i][2] = static_cast<uint16_t>(gave_normal ? ref.normal : 0);

      ObjCorner corner;
      std::memcpy(corner.position, m_.positions[ref.position], sizeof corner.position);
      std::memcpy(corner.face_normal, normal, sizeof normal);
      const float* own = gave_normal ? m_.normals[ref.normal] : nullptr;
      bool keep = smooth && own && (own[0] != 0.0f || own[1] != 0.0f || own[2] != 0.0f);
      std::memcpy(corner.normal, keep ? own : normal, sizeof corner.normal);
      page.Map(m_.tex_coords[ref.tex_coord], corner.uv);
      corner.flags = (smooth ? kCornerSmoothing : 0u) | (gave_normal ? 0u : kCornerNoNormal);
      corner.face = face_index;
      corner.corner_number = i + 1;
      corner.group = group;
      m_.corners[first + i] = corner;
    }

    uint16_t c = static_cast<uint16_t>(first);
    uint16_t* out = m_.indices + m_.index_count;
    auto triangle = [&out](int a, int b, int d) {
      *out++ = static_cast<uint16_t>(a);
      *out++ = static_cast<uint16_t>(b);
      *out++ = static_cast<uint16_t>(d);
    };
    if (!m_.mirror_z) {
      triangle(c, c + 1, c + 2);
      if (n == 4) triangle(c + 2, c + 3, c);
    } else {
      triangle(c, c + 2, c + 1);
      if (n == 4) triangle(c + 2, c, c + 3);
    }
    m_.index_count += n == 4 ? 6 : 3;
    m_.corner_count += n;
    ++m_.face_count;
  }

  ObjModel& m_;
  const std::u16string& path_;
  std::u16string folder_;
  int line_ = 0;
  uint32_t result_ = kObjResultOk;
};

bool PageUsable(ObjModel& model) {
  auto usable = [](float side) { return side > 0.0f && std::isfinite(side); };
  if (usable(model.page_width) && usable(model.page_height)) return true;
  AppendModelMessage(model, kModelMessageError, u"texture page error [%d x %d]\r\n",
                     static_cast<int>(std::isfinite(model.page_width) ? model.page_width : -1.0f),
                     static_cast<int>(std::isfinite(model.page_height) ? model.page_height : -1.0f));
  return false;
}

// Reused between reads: fresh pages cost more than parsing them.
thread_local std::vector<uint8_t> t_obj_text;

}  // namespace

uint32_t ReadObjFile(ObjModel& model, const std::u16string& obj_path) {
  model.smoothing_on = 0;
  if (!PageUsable(model)) return kObjResultFail;
  if (!FsReadFile(obj_path, t_obj_text)) {
    AppendModelMessage(model, kModelMessageError, u"no obj file [%s]\r\n", obj_path);
    return kObjResultNoObjFile;
  }
  return ObjReader(model, obj_path).Read(t_obj_text);
}

uint32_t ReadObjBytes(ObjModel& model, const uint8_t* bytes, size_t size, const std::u16string& obj_path) {
  model.smoothing_on = 0;
  if (!PageUsable(model)) return kObjResultFail;
  t_obj_text.assign(bytes, bytes + size);
  return ObjReader(model, obj_path).Read(t_obj_text);
}
