#include "modelio/obj_corners.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "modelio/vector3.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

PageMapping::PageMapping(const ObjModel& m) {
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

namespace {

// One thread-local object: each costs a registration on a thread's first read.
struct ThreadArrays {
  std::unique_ptr<PendingFace[]> faces{new PendingFace[kObjMaxFaces]};
  // One spare: the face reader stores eight bytes a corner.
  std::unique_ptr<PendingCorner[]> corners{new PendingCorner[kObjMaxCorners + 1]};
  // Texture coordinates mapped into the page, when every face shares one
  // mapping; made on first use.
  std::unique_ptr<float[][2]> mapped_uvs;
};

ThreadArrays& OwnThreadArrays() {
  thread_local ThreadArrays owned;
  return owned;
}

}  // namespace

PendingArrays ThreadPendingArrays() {
  ThreadArrays& owned = OwnThreadArrays();
  return PendingArrays{owned.faces.get(), owned.corners.get()};
}

namespace {

// The flat normal of a face from its first three positions.
[[maybe_unused]] void FaceNormal(const float* p0, const float* p1, const float* p2, bool invert,
                                 float normal[3]) {
  float a[3] = {p0[0] - p1[0], p0[1] - p1[1], p0[2] - p1[2]};
  float b[3] = {p0[0] - p2[0], p0[1] - p2[1], p0[2] - p2[2]};
  float cross[3];
  Cross3(a, b, cross);
  if (!Normalize3(cross, normal)) std::memcpy(normal, kFallbackNormal, sizeof kFallbackNormal);
  if (invert) {
    normal[0] = -normal[0];
    normal[1] = -normal[1];
    normal[2] = -normal[2];
  }
}

#if defined(__SSE2__)
// x where `mask` is set, y elsewhere.
inline __m128 Select(__m128 mask, __m128 x, __m128 y) {
  return _mm_or_ps(_mm_and_ps(mask, x), _mm_andnot_ps(mask, y));
}

// FaceNormal in lanes x, y, z (lane 3 is 0): the same products, sums,
// square root and divisions, each lane in the scalar order.
inline __m128 FaceNormalLanes(const float* p0, const float* p1, const float* p2, bool invert) {
  const __m128 first = _mm_loadu_ps(p0);  // the fourth lane is the next entry's, and unused
  const __m128 a = _mm_sub_ps(first, _mm_loadu_ps(p1));
  const __m128 b = _mm_sub_ps(first, _mm_loadu_ps(p2));
  // (a1 b2 - a2 b1, a2 b0 - a0 b2, a0 b1 - a1 b0), as Cross3.
  const __m128 cross = _mm_sub_ps(_mm_mul_ps(_mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 0, 2, 1)),
                                             _mm_shuffle_ps(b, b, _MM_SHUFFLE(3, 1, 0, 2))),
                                  _mm_mul_ps(_mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 1, 0, 2)),
                                             _mm_shuffle_ps(b, b, _MM_SHUFFLE(3, 0, 2, 1))));
  const __m128 squares = _mm_mul_ps(cross, cross);
  // (x x + y y) + z z, as Normalize3.
  const __m128 sum =
      _mm_add_ss(_mm_add_ss(squares, _mm_shuffle_ps(squares, squares, _MM_SHUFFLE(1, 1, 1, 1))),
                 _mm_shuffle_ps(squares, squares, _MM_SHUFFLE(2, 2, 2, 2)));
  const float length = _mm_cvtss_f32(_mm_sqrt_ss(sum));
  __m128 normal;
  if (!(length > 0.0f) || !std::isfinite(length))
    normal = _mm_setr_ps(kFallbackNormal[0], kFallbackNormal[1], kFallbackNormal[2], 0.0f);
  else
    normal =
        _mm_and_ps(_mm_div_ps(cross, _mm_set1_ps(length)), _mm_castsi128_ps(_mm_setr_epi32(-1, -1, -1, 0)));
  return invert ? _mm_xor_ps(normal, _mm_setr_ps(-0.0f, -0.0f, -0.0f, 0.0f)) : normal;
}

// A page mapping in lanes: u in lane 0, v in lane 1.
struct MappingLanes {
  __m128 scale, page_size, offset, flip_before, flip_after, on;
  explicit MappingLanes(const PageMapping& page)
      : scale(_mm_setr_ps(page.width, page.height, 0.0f, 0.0f)),
        page_size(_mm_setr_ps(page.page_width, page.page_height, 1.0f, 1.0f)),
        offset(_mm_setr_ps(page.left, page.top, 0.0f, 0.0f)),
        flip_before(_mm_castsi128_ps(_mm_setr_epi32(page.flip_u ? -1 : 0, 0, 0, 0))),
        flip_after(_mm_castsi128_ps(_mm_setr_epi32(0, page.flip_v ? -1 : 0, 0, 0))),
        on(_mm_castsi128_ps(_mm_set1_epi32(page.on ? -1 : 0))) {}
  // The same mapping in lanes 2 and 3 as well.
  MappingLanes Twice() const {
    MappingLanes two = *this;
    two.scale = _mm_movelh_ps(scale, scale);
    two.page_size = _mm_movelh_ps(page_size, page_size);
    two.offset = _mm_movelh_ps(offset, offset);
    two.flip_before = _mm_movelh_ps(flip_before, flip_before);
    two.flip_after = _mm_movelh_ps(flip_after, flip_after);
    return two;
  }
};

// The texture coordinate `t` (u, v in lanes 0 and 1, and another in lanes 2
// and 3 when `page` holds the mapping twice) mapped into the page: each lane
// computes what PageMapping::Map computes, in the same order, so the bits
// are the same.
inline __m128 MapLanes(const MappingLanes& page, __m128 t) {
  const __m128 one = _mm_set1_ps(1.0f);
  t = Select(page.flip_before, _mm_sub_ps(one, t), t);
  __m128 uv = _mm_add_ps(_mm_div_ps(_mm_mul_ps(t, page.scale), page.page_size), page.offset);
  return _mm_and_ps(page.on, Select(page.flip_after, _mm_sub_ps(one, uv), uv));
}

// Every texture coordinate of the model mapped with `page` into `mapped`,
// two at a time: for a model whose faces share one mapping, once a
// coordinate rather than once a corner.
void MapTexCoords(const ObjModel& m, const PageMapping& page, float (*__restrict mapped)[2]) {
  const MappingLanes one(page);
  const MappingLanes two = one.Twice();
  int32_t i = 0;
  for (; i + 1 < m.tex_coord_count; i += 2)
    _mm_storeu_ps(mapped[i], MapLanes(two, _mm_loadu_ps(m.tex_coords[i])));
  if (i < m.tex_coord_count)
    _mm_storel_pi(
        reinterpret_cast<__m64*>(mapped[i]),
        MapLanes(one, _mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(m.tex_coords[i])))));
}

// The corners of one face, sixteen bytes at a time. Each lane computes what
// the scalar comparisons compute, so the bits are the same. Loads of
// sixteen bytes from the position and normal arrays stay inside the model
// record (other arrays follow them); stores run upwards through the record,
// each overwriting the spare lane of the one before. With `mapped`, the
// texture coordinates come mapped already.
template <bool kMapped>
__attribute__((always_inline)) inline void FaceCorners(const ObjModel& m, int32_t face, int32_t n,
                                                       const PendingFace& info, const MappingLanes& page,
                                                       const float (*mapped)[2], const __m128 face_normal,
                                                       const PendingCorner* __restrict pending,
                                                       ObjCorner* __restrict corner) {
  const uint32_t smooth = info.smooth ? kCornerSmoothing : 0u;
  // flags, face, corner number, group; the corner number counts up.
  __m128i tail = _mm_setr_epi32(static_cast<int>(smooth), face, 0, info.group);
  const __m128i next_number = _mm_setr_epi32(0, 0, 1, 0);
  const __m128i no_normal = _mm_setr_epi32(static_cast<int>(kCornerNoNormal), 0, 0, 0);
  for (int32_t i = 0; i < n; ++i) {
    const PendingCorner ref = pending[i];
    ObjCorner& c = corner[i];
    _mm_storeu_ps(c.position, _mm_loadu_ps(m.positions[ref.position]));
    const bool gave_normal = ref.normal != kNoNormalIndex;
    __m128 chosen = face_normal;
    if (smooth && gave_normal) {
      const __m128 own = _mm_loadu_ps(m.normals[ref.normal]);
      if (_mm_movemask_ps(_mm_cmpneq_ps(own, _mm_setzero_ps())) & 7) chosen = own;
    }
    _mm_storeu_ps(c.normal, chosen);
    _mm_storeu_ps(c.face_normal, face_normal);
    if (kMapped) {
      std::memcpy(c.uv, mapped[ref.tex_coord], sizeof c.uv);
    } else {
      const __m128 t =
          _mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(m.tex_coords[ref.tex_coord])));
      _mm_storel_pi(reinterpret_cast<__m64*>(c.uv), MapLanes(page, t));
    }
    tail = _mm_add_epi32(tail, next_number);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&c.flags),
                     gave_normal ? tail : _mm_or_si128(tail, no_normal));
  }
}

// BuildObjCorners, with the texture coordinates mapped already (kMapped)
// or mapped corner by corner.
template <bool kMapped>
void BuildCornersOf(ObjModel& model, int32_t first_face, int32_t first_corner, const PendingFace* faces,
                    const PendingCorner* corners, const PageMapping* mappings, const float (*mapped)[2]) {
  const PendingCorner* pending = corners + first_corner;
  ObjCorner* corner = model.corners + first_corner;
  const bool invert = model.invert_face_normals != 0;
  int32_t lanes_of = -1;  // the mapping `lanes` holds; most models keep one
  MappingLanes lanes{PageMapping()};
  for (int32_t f = first_face; f < model.face_count; ++f) {
    const int32_t n = model.faces[f].corner_count;
    const PendingFace& info = faces[f];
    if (info.mapping != lanes_of) {
      lanes = MappingLanes(mappings[info.mapping]);
      lanes_of = info.mapping;
    }
    const __m128 normal =
        FaceNormalLanes(model.positions[pending[0].position], model.positions[pending[1].position],
                        model.positions[pending[2].position], invert);
    FaceCorners<kMapped>(model, f, n, info, lanes, mapped, normal, pending, corner);
    corner += n;
    pending += n;
  }
}

}  // namespace

void BuildObjCorners(ObjModel& model, int32_t first_face, int32_t first_corner, const PendingFace* faces,
                     const PendingCorner* corners, const PageMapping* mappings, int32_t mapping_count) {
  // One mapping for every face, and no more texture coordinates than
  // corners: each coordinate is mapped once. Below a few hundred corners,
  // mapping them one by one costs less than making the array on a thread's
  // first read.
  constexpr int32_t kMapOnceCorners = 256;
  const int32_t corner_count = model.corner_count - first_corner;
  if (mapping_count == 1 && corner_count >= kMapOnceCorners && model.tex_coord_count <= corner_count) {
    std::unique_ptr<float[][2]>& owned = OwnThreadArrays().mapped_uvs;
    if (!owned) owned.reset(new float[kObjMaxTexCoords][2]);
    float(*mapped)[2] = owned.get();
    MapTexCoords(model, mappings[0], mapped);
    BuildCornersOf<true>(model, first_face, first_corner, faces, corners, mappings, mapped);
  } else {
    BuildCornersOf<false>(model, first_face, first_corner, faces, corners, mappings, nullptr);
  }
}
#else
void FaceCorners(const ObjModel& m, int32_t face, int32_t n, const PendingFace& info, const PageMapping& page,
                 const float normal[3], const PendingCorner* __restrict pending,
                 ObjCorner* __restrict corner) {
  const uint32_t smooth = info.smooth ? kCornerSmoothing : 0u;
  for (int32_t i = 0; i < n; ++i) {
    ObjCorner& c = corner[i];
    const PendingCorner ref = pending[i];
    std::memcpy(c.position, m.positions[ref.position], sizeof c.position);
    std::memcpy(c.face_normal, normal, sizeof c.face_normal);
    const bool gave_normal = ref.normal != kNoNormalIndex;
    const float* own = gave_normal ? m.normals[ref.normal] : normal;
    const bool keep = smooth && (own[0] != 0.0f || own[1] != 0.0f || own[2] != 0.0f);
    std::memcpy(c.normal, keep ? own : normal, sizeof c.normal);
    page.Map(m.tex_coords[ref.tex_coord], c.uv);
    c.flags = smooth | (gave_normal ? 0u : kCornerNoNormal);
    c.face = face;
    c.corner_number = i + 1;
    c.group = info.group;
  }
}
}  // namespace

void BuildObjCorners(ObjModel& model, int32_t first_face, int32_t first_corner, const PendingFace* faces,
                     const PendingCorner* corners, const PageMapping* mappings, int32_t) {
  const PendingCorner* pending = corners + first_corner;
  ObjCorner* corner = model.corners + first_corner;
  const bool invert = model.invert_face_normals != 0;
  for (int32_t f = first_face; f < model.face_count; ++f) {
    const int32_t n = model.faces[f].corner_count;
    float normal[3];
    FaceNormal(model.positions[pending[0].position], model.positions[pending[1].position],
               model.positions[pending[2].position], invert, normal);
    FaceCorners(model, f, n, faces[f], mappings[faces[f].mapping], normal, pending, corner);
    corner += n;
    pending += n;
  }
}
#endif
