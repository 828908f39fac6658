// The OBJ reader: one pass over the file's bytes, one line at a time, every
// line dispatched on its first token. Faces become corners, indices and a
// flat face normal at once.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "modelio/obj_corners.h"
#include "modelio/obj_face_corners.h"
#include "modelio/obj_model.h"
#include "modelio/obj_text.h"
#include "modelio/vector3.h"
#include "platform/fs.h"
#include "platform/msvc_random.h"

namespace {

using objtext::NextNumber;
using objtext::NextToken;
using objtext::Token;

enum class CornerForm { kOk, kNoUv, kBad };

// A corner takes at least four bytes ("1/1" and a separator), so a line of
// 1,022 bytes holds at most 255 corners after "f ".
constexpr int kMaxPolygonCorners = static_cast<int>((kObjMaxLineBytes - 2 + 1) / 4);
static_assert(kMaxPolygonCorners == 255, "one line holds at most 255 corners");

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

  ObjResult Read(FsByteBuffer& text) {
    const int32_t first_face = m_.face_count;
    const int32_t first_corner = m_.corner_count;
    // Both handlers are inlined into the line loop, which is most of the
    // reading time.
    objtext::ForEachLine(
        text, kObjMaxLineBytes, [this](uint8_t* p, int) __attribute__((always_inline)) { return Fast(p); },
        [this](uint8_t* p, int line) __attribute__((always_inline)) { return Line(p, line); },
        [this](int line) {
          AppendModelMessage(m_, kModelMessageWarning, u"long line cut [line %d] [%s]\r\n", line, path_);
        });
    BuildCorners(first_face, first_corner);
    if (polygons_split_ > 0)
      AppendModelMessage(m_, kModelMessageWarning,
                         u"polygons of 5 or more points split into triangles [%d]\r\n", polygons_split_);
    return result_;
  }

 private:
  // "v", "vt" and "vn" lines: the numbers of one entry, 0 for those the line
  // does not give.
  enum Entry { kPosition, kTexCoord, kNormal };
  static constexpr int kWidth[] = {3, 2, 3};
  static constexpr int32_t kCapacity[] = {kObjMaxPositions, kObjMaxTexCoords, kObjMaxNormals};

  // Lines of the usual shapes, read without looking for their end first:
  // "v ", "vt " and "vn " with their numbers, and "f " with three or four
  // plain corners. Such a line is taken only when its reading ends at the
  // line end within the line limit and the record has room; anything else
  // goes the general way (Line), which says what is wrong.
  __attribute__((always_inline)) uint8_t* Fast(uint8_t* p) {
    if (p[0] == 'f') return p[1] == ' ' ? FastFace(p) : nullptr;
    if (p[0] != 'v') return nullptr;
    if (p[1] == ' ') return FastNumbers<kPosition>(p, p + 2);
    if (p[2] != ' ') return nullptr;
    if (p[1] == 't') return FastNumbers<kTexCoord>(p, p + 3);
    if (p[1] == 'n') return FastNumbers<kNormal>(p, p + 3);
    return nullptr;
  }

  // The next line's start when the reading of a line that began at `line`
  // stopped at its '\n', within the line limit; else null.
  static uint8_t* EndOfFastLine(const uint8_t* line, uint8_t* q) {
    return *q == '\n' && static_cast<size_t>(q - line) <= kObjMaxLineBytes ? q + 1 : nullptr;
  }

  template <Entry kEntry>
  __attribute__((always_inline)) uint8_t* FastNumbers(const uint8_t* line, uint8_t* q) {
    if (*Count<kEntry>() >= kCapacity[kEntry]) return nullptr;
    float v[3];
    // Unrolled: straight-line reading counts fewer instructions a number.
#pragma GCC unroll 3
    for (int i = 0; i < kWidth[kEntry]; ++i) v[i] = NextNumber(q);
    uint8_t* next = EndOfFastLine(line, q);
    if (next) Store<kEntry>(v);
    return next;
  }

  __attribute__((always_inline)) bool Line(uint8_t* p, int line) {
    line_ = line;
    Token key;
    if (!NextToken(p, key)) return true;
    const uint8_t* k = key.begin;
    switch (key.size()) {
      case 1:
        if (k[0] == 'v') return Numbers<kPosition>(p);
        if (k[0] == 'f') return CheckedFace(p);
        if (k[0] == 'g') return Group(p);
        if (k[0] == 's') return Smoothing(p);
        if (k[0] == 'o') return Object(p);
        return true;
      case 2:
        if (k[0] == 'v' && k[1] == 'n') return Numbers<kNormal>(p);
        if (k[0] == 'v' && k[1] == 't') return Numbers<kTexCoord>(p);
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
    result_ = ObjResult::kStopped;
    return false;
  }
  bool StopFull(const char16_t* what, int32_t limit) {
    AppendModelMessage(m_, kModelMessageError, u"too many %s [max %d] [line %d]\r\n", what, limit, line_);
    ++m_.face_error_count;
    result_ = ObjResult::kStopped;
    return false;
  }

  template <Entry kEntry>
  int32_t* Count() {
    return kEntry == kPosition   ? &m_.position_count
           : kEntry == kTexCoord ? &m_.tex_coord_count
                                 : &m_.normal_count;
  }

  template <Entry kEntry>
  bool Numbers(uint8_t* p) {
    static constexpr const char16_t* kName[] = {u"positions", u"uvs", u"normals"};
    if (*Count<kEntry>() >= kCapacity[kEntry]) return StopFull(kName[kEntry], kCapacity[kEntry]);
    float v[3];
    for (int i = 0; i < kWidth[kEntry]; ++i) v[i] = NextNumber(p);
    Store<kEntry>(v);
    return true;
  }

  // Adds the entry; the record has room.
  template <Entry kEntry>
  __attribute__((always_inline)) void Store(const float* v) {
    int32_t& count = *Count<kEntry>();
    if (kEntry == kTexCoord) {
      std::memcpy(m_.tex_coords[count++], v, 2 * sizeof(float));
      return;
    }
    float* entry = kEntry == kPosition ? m_.positions[count++] : m_.normals[count++];
    // A normal that cannot be normalized stays (0, 0, 0): its corners take
    // the face normal instead.
    if (kEntry == kPosition)
      std::memcpy(entry, v, 3 * sizeof(float));
    else
      Normalize3(v, entry);
    if (m_.mirror_z) entry[2] = -entry[2];
  }

  bool Group(uint8_t* p) {
    // Full before the name is made: an unnamed group draws from the
    // process's generator, which the data file's seed shares.
    if (m_.group_count >= kObjMaxGroups) return StopFull(u"groups", kObjMaxGroups);
    Token name;
    if (NextToken(p, name)) return AddGroup(name.begin, name.size(), m_.position_count);
    char unnamed[kObjGroupNameBytes];
    int n =
        std::snprintf(unnamed, sizeof unnamed, "DMYSET%d", static_cast<int>(NextProcessRandom() & 0x7FFF));
    return AddGroup(reinterpret_cast<const uint8_t*>(unnamed), static_cast<size_t>(n), m_.position_count);
  }

  bool AddGroup(const uint8_t* name, size_t size, int32_t first_position) {
    if (m_.group_count >= kObjMaxGroups) return StopFull(u"groups", kObjMaxGroups);
    ObjGroup& group = m_.groups[m_.group_count++];
    size_t n = std::min(size, kObjGroupNameBytes - 1);
    std::memcpy(group.name, name, n);
    group.name[n] = '\0';
    group.material = -1;
    group.first_position = first_position;
    return true;
  }

  // Exporters that write objects instead of groups: an "o" line is only
  // remembered until a usemtl line finds no group; from then on every "o"
  // line starts a group. A file with a group before its first usemtl line
  // never gets here, so it reads as it always did.
  bool Object(uint8_t* p) {
    Token name = objtext::RestOfLine(p);
    if (objects_are_groups_) return AddGroup(name.begin, name.size(), m_.position_count);
    size_t n = std::min(name.size(), sizeof object_name_);
    std::memcpy(object_name_, name.begin, n);
    object_name_size_ = n;
    object_first_position_ = m_.position_count;
    object_seen_ = true;
    return true;
  }

  // A library name that holds blanks is read as one file when that file
  // exists; otherwise every word names a library of its own, as far as the
  // 32 tokens of a line go.
  bool MaterialLibraries(uint8_t* p) {
    const Token whole = objtext::RestOfLine(p);
    Token file;
    uint8_t* words = p;
    std::u16string path;
    if (NextToken(words, file) && file.end != whole.end && FindLibrary(whole, path)) return ReadLibrary(path);
    for (int n = 1; n < 32 && NextToken(p, file); ++n) {
      FindLibrary(file, path, false);
      if (!ReadLibrary(path)) return false;
    }
    return true;
  }

  // The library a name finds, read as Shift-JIS first and then, when its
  // bytes are UTF-8, as UTF-8. When neither finds a file, `path` holds the
  // name as it was most likely written (UTF-8 when it reads as UTF-8).
  // A caller that reads `path` whatever this says need not have a name of
  // one reading (ASCII) looked up first.
  bool FindLibrary(const Token& name, std::u16string& path, bool must_exist = true) const {
    path = LibraryPath(objtext::TokenText(name, kMaxPathUnits));
    if (!must_exist && std::all_of(name.begin, name.end, [](uint8_t b) { return b < 0x80; })) return true;
    if (FsFileExists(path)) return true;
    std::u16string utf8;
    if (!objtext::TokenTextUtf8(name, kMaxPathUnits, utf8)) return false;
    path = LibraryPath(utf8);
    return FsFileExists(path);
  }

  std::u16string LibraryPath(const std::u16string& name) const {
    std::u16string mtl = folder_ + name;
    if (mtl.size() > kMaxPathUnits) mtl.resize(kMaxPathUnits);
    return mtl;
  }

  bool ReadLibrary(const std::u16string& path) {
    mapping_material_ = kNoMapping;
    ReadMtlFile(m_, path);
    if (m_.face_error_count == 0) return true;
    result_ = ObjResult::kStopped;  // the material table is full
    return false;
  }

  bool Smoothing(uint8_t* p) {
    Token arg;
    m_.smoothing_on = NextToken(p, arg) && !arg.Is("0") && !arg.Is("off");
    return true;
  }

  bool UseMaterial(uint8_t* p) {
    if (m_.group_count == 0) {
      if (!object_seen_) return Stop(u"no group\r\n");
      objects_are_groups_ = true;
      if (!AddGroup(object_name_, object_name_size_, object_first_position_)) return false;
    }
    Token word;
    if (NextToken(p, word)) {
      int32_t found = FindMaterial(objtext::RestOfLine(word.begin));
      if (found < 0) found = FindMaterialByFirstWord(word);
      if (found >= 0) m_.current_material = found;
    }
    m_.groups[m_.group_count - 1].material = m_.current_material;
    return true;
  }

  // The whole name, blanks and all.
  int32_t FindMaterial(const Token& name) const {
    for (int32_t i = 0; i < m_.material_count; ++i) {
      const char* stored = m_.materials[i].name;
      if (std::strlen(stored) == name.size() && std::memcmp(stored, name.begin, name.size()) == 0) return i;
    }
    return -1;
  }

  // The first words alone, as names were matched before they could hold
  // blanks: "usemtl mat x" still finds "newmtl mat".
  int32_t FindMaterialByFirstWord(const Token& word) const {
    for (int32_t i = 0; i < m_.material_count; ++i) {
      const char* stored = m_.materials[i].name;
      size_t n = objtext::FirstWordSize(reinterpret_cast<const uint8_t*>(stored), std::strlen(stored));
      if (n == word.size() && std::memcmp(stored, word.begin, n) == 0) return i;
    }
    return -1;
  }

  bool BadCorner(const Token& corner) {
    std::u16string text = objtext::TokenText(corner, 64);
    AppendModelMessage(m_, kModelMessageError, u"index error [%s] [line %d]\r\n", text, line_);
    ++m_.face_error_count;
    result_ = ObjResult::kStopped;
    return false;
  }

  // "f " and three or four corners "p/t" or "p/t/n" of plain numbers inside
  // the arrays, for Fast. Anything else goes the careful way, which says
  // what is wrong. The corners go straight into the pending array; only
  // CommitFace makes them count. Inlined into the line loop: a call's
  // register saves and restores counted more than what the inlined loop
  // keeps on the stack.
  __attribute__((always_inline)) uint8_t* FastFace(uint8_t* p) {
    if (!Fits(4)) return nullptr;  // a smaller face may fit: the careful way sees
    PendingCorner* corners = pending_corners_ + m_.corner_count;
    const objface::IndexCounts counts(m_);
    PendingCorner* corner = corners;
    uint8_t* q = p + 2;
    for (;;) {
      while (objtext::ClassOf(*q) == objtext::kSeparator) ++q;
      if (objtext::ClassOf(*q) == objtext::kLineEnd) break;
      if (corner == corners + 4 || !objface::ReadPlainCorner(q, counts, *corner)) return nullptr;
      ++corner;
    }
    const int n = static_cast<int>(corner - corners);
    uint8_t* next = EndOfFastLine(p, q);
    if (n < 3 || !next) return nullptr;
    CommitFace<false>(n);
    return next;
  }

  // Every face the fast path does not take: polygons of five or more
  // corners, and every error with its message.
  bool CheckedFace(uint8_t* p) {
    Token first[3];
    int n = objtext::SplitTokens(p, first, 3);
    if (n < 2) return Stop(u"1-point polygon\r\n");
    if (n < 3) return Stop(u"2-point polygon\r\n");

    CornerRef refs[kMaxPolygonCorners];
    n = 0;
    Token token;
    while (NextToken(p, token)) {
      if (n == kMaxPolygonCorners) return StopFull(u"polygon corners", kMaxPolygonCorners);
      int64_t fields[3];
      int field_count = 0;
      CornerForm form = SplitCorner(token, fields, field_count);
      if (form == CornerForm::kNoUv) return StopNoUv();
      if (form == CornerForm::kBad) return BadCorner(token);
      CornerRef& ref = refs[n++];
      if (!ResolveIndex(fields[0], m_.position_count, ref.position) ||
          !ResolveIndex(fields[1], m_.tex_coord_count, ref.tex_coord) ||
          (field_count == 3 && !ResolveIndex(fields[2], m_.normal_count, ref.normal)))
        return BadCorner(token);
    }
    return AddCheckedFace(refs, n);
  }

  bool StopNoUv() {
    Stop(u"no uv polygon\r\n");
    AppendModelMessage(
        m_, kModelMessageText,
        u" [line %d] a face corner has no texture coordinate (v//vn or v): the model needs a UV "
        u"map, exported with its texture coordinates\r\n",
        line_);
    return false;
  }

  bool AddCheckedFace(const CornerRef* refs, int n) {
    if (Fits(n)) {
      if (n <= 4)
        AddFace<false>(refs, n);
      else
        AddPolygon(refs, n);
      return true;
    }
    if (m_.face_count >= kObjMaxFaces) return StopFull(u"faces", kObjMaxFaces);
    if (m_.corner_count + n > kObjMaxCorners) return StopFull(u"corners", kObjMaxCorners);
    return StopFull(u"indices", kObjMaxIndices);
  }

  // Room for a face of `n` corners: a triangle fan of 3 * (n - 2) indices,
  // as a quad draws two triangles too.
  bool Fits(int n) const {
    return m_.face_count < kObjMaxFaces && m_.corner_count + n <= kObjMaxCorners &&
           m_.index_count + 3 * (n - 2) <= kObjMaxIndices;
  }

  // The corner records, each written once in a pass of its own after the
  // lines: the face normal's square root and divisions of one face overlap
  // with those of the next, and the line loop stores only three indices a
  // corner.
  void BuildCorners(int32_t first_face, int32_t first_corner) {
    BuildObjCorners(m_, first_face, first_corner, pending_faces_, pending_corners_, mappings_.data(),
                    static_cast<int32_t>(mappings_.size()));
  }

  // The mapping of the current material, made again only when the material
  // changes or a library is read (two divisions a face saved); faces keep
  // its number.
  uint16_t Mapping() {
    if (mapping_material_ != m_.current_material) {
      mappings_.push_back(PageMapping(m_));
      mapping_material_ = m_.current_material;
      mapping_ = static_cast<uint16_t>(mappings_.size() - 1);
    }
    return mapping_;
  }

  __attribute__((noinline)) void AddPolygon(const CornerRef* refs, int n) { AddFace<true>(refs, n); }

  // kFan: a polygon of five or more corners, drawn as a fan from its first
  // corner. Triangles and quads get code of their own, as most faces are.
  // The corner records come later, in BuildCorners.
  template <bool kFan>
  void AddFace(const CornerRef* refs, int n) {
    PendingCorner* pending = pending_corners_ + m_.corner_count;
    for (int i = 0; i < n; ++i) {
      const CornerRef& ref = refs[i];
      pending[i] = PendingCorner{static_cast<uint16_t>(ref.position), static_cast<uint16_t>(ref.tex_coord),
                                 ref.normal >= 0 ? static_cast<uint16_t>(ref.normal) : kNoNormalIndex};
    }
    CommitFace<kFan>(n);
  }

  // Counts the face whose `n` corners wait in the pending array at the
  // model's corner count, with its record, indices and what BuildCorners
  // needs of it.
  template <bool kFan>
  __attribute__((always_inline)) void CommitFace(int n) {
    const int32_t first = m_.corner_count;
    const int32_t face_index = m_.face_count;
    pending_faces_[face_index] = PendingFace{m_.group_count - 1, Mapping(), m_.smoothing_on != 0};

    ObjFace& face = m_.faces[face_index];
    face.corner_count = n;
    const PendingCorner* pending = pending_corners_ + first;
    objface::RecordFaceCorners(pending, kFan ? 4 : n, face);  // a larger polygon keeps its first four

    uint16_t c = static_cast<uint16_t>(first);
    uint16_t* out = m_.indices + m_.index_count;
    auto triangle = [&out](int a, int b, int d) {
      *out++ = static_cast<uint16_t>(a);
      *out++ = static_cast<uint16_t>(b);
      *out++ = static_cast<uint16_t>(d);
    };
    if (!kFan) {
      if (!m_.mirror_z) {
        triangle(c, c + 1, c + 2);
        if (n == 4) triangle(c + 2, c + 3, c);
      } else {
        triangle(c, c + 2, c + 1);
        if (n == 4) triangle(c + 2, c, c + 3);
      }
    } else {
      // A fan from the first corner; mirrored, each triangle turns the other way.
      for (int i = 1; i + 1 < n; ++i) {
        if (!m_.mirror_z)
          triangle(c, c + i, c + i + 1);
        else
          triangle(c, c + i + 1, c + i);
      }
      ++polygons_split_;
    }
    m_.index_count += kFan ? 3 * (n - 2) : n == 4 ? 6 : 3;
    m_.corner_count += n;
    ++m_.face_count;
  }

  ObjModel& m_;
  const std::u16string& path_;
  std::u16string folder_;
  int line_ = 0;
  ObjResult result_ = ObjResult::kOk;
  int32_t polygons_split_ = 0;
  // The last "o" line, while no group exists.
  bool object_seen_ = false;
  bool objects_are_groups_ = false;
  uint8_t object_name_[kObjGroupNameBytes - 1];
  size_t object_name_size_ = 0;
  int32_t object_first_position_ = 0;
  static constexpr int32_t kNoMapping = -2;
  int32_t mapping_material_ = kNoMapping;
  uint16_t mapping_ = 0;  // the last of mappings_
  std::vector<PageMapping> mappings_;
  // What BuildCorners needs of each face and corner read, by their numbers
  // in the model.
  PendingFace* pending_faces_ = ThreadPendingArrays().faces;
  PendingCorner* pending_corners_ = ThreadPendingArrays().corners;
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
thread_local FsByteBuffer t_obj_text;

}  // namespace

ObjResult ReadObjFile(ObjModel& model, const std::u16string& obj_path) {
  model.smoothing_on = 0;
  if (!PageUsable(model)) return ObjResult::kPageUnusable;
  // Room for the line end and padding the scanners add.
  if (!FsReadFile(obj_path, t_obj_text, objtext::kTextPadding + 1)) {
    AppendModelMessage(model, kModelMessageError, u"no obj file [%s]\r\n", obj_path);
    return ObjResult::kNoObjFile;
  }
  return ObjReader(model, obj_path).Read(t_obj_text);
}

ObjResult ReadObjBytes(ObjModel& model, const uint8_t* bytes, size_t size, const std::u16string& obj_path) {
  model.smoothing_on = 0;
  if (!PageUsable(model)) return ObjResult::kPageUnusable;
  t_obj_text.assign(bytes, bytes + size);
  return ObjReader(model, obj_path).Read(t_obj_text);
}
