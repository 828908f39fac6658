// The corners of the usual face line, "p/t" or "p/t/n" with plain indices,
// read into the pending corners, and the face record's copy of them: the
// OBJ reader's fast path for faces.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "modelio/obj_corners.h"
#include "modelio/obj_model.h"
#include "modelio/obj_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace objface {

// The entries a corner's indices may name: the model's counts.
struct IndexCounts {
  const ObjModel& model;
#if defined(__SSE2__)
  __m128i lanes;  // the position, texture-coordinate and normal counts in lanes 0 to 2
#endif
  explicit IndexCounts(const ObjModel& m)
      : model(m)
#if defined(__SSE2__)
        ,
        lanes(_mm_setr_epi32(m.position_count, m.tex_coord_count, m.normal_count, 0))
#endif
  {
  }
};

// One index of 1 to 7 digits at `q`, 1 ... count, as a 0-based index.
__attribute__((always_inline)) inline bool PlainIndex(const uint8_t* q, int digits, int32_t count,
                                                      uint16_t& index) {
  uint32_t value;
  if (static_cast<unsigned>(digits - 1) < 4)
    value = objtext::DigitsValue4(q, digits);
  else if (static_cast<unsigned>(digits - 1) < 7)
    value = objtext::DigitsValue8(q, digits);
  else
    return false;
  if (value - 1 >= static_cast<uint32_t>(count)) return false;  // 0 - 1 wraps past any count
  index = static_cast<uint16_t>(value - 1);
  return true;
}

// ReadPlainCorner for indices of 1 to 7 digits each, one at a time; the
// digit runs are found with one mask of sixteen bytes.
__attribute__((always_inline)) inline bool PlainCorner(uint8_t*& q, const ObjModel& counts,
                                                       PendingCorner& corner) {
  const unsigned digits = objtext::DigitMask16(q);
  const int position_digits = objtext::RunLength(digits, 0);
  if (q[position_digits] != '/') return false;
  const int tex_start = position_digits + 1;
  const int tex_digits = objtext::RunLength(digits, tex_start);
  int end = tex_start + tex_digits;
  if (!PlainIndex(q, position_digits, counts.position_count, corner.position) ||
      !PlainIndex(q + tex_start, tex_digits, counts.tex_coord_count, corner.tex_coord))
    return false;
  corner.normal = kNoNormalIndex;
  if (q[end] == '/') {
    const int normal_start = end + 1;
    const int normal_digits = objtext::RunLength(digits, normal_start);
    if (!PlainIndex(q + normal_start, normal_digits, counts.normal_count, corner.normal)) return false;
    end = normal_start + normal_digits;
  }
  // A run cut at the sixteenth byte ends in a digit, a token byte.
  const uint8_t c = objtext::ClassOf(q[end]);
  if (c == objtext::kToken) return false;
  q += end + (c != objtext::kLineEnd);  // and the byte that ended the corner
  return true;
}

// PlainCorner kept out of the face loop, as corners with longer indices
// are rare: the byte after the corner and what ended it, or null.
__attribute__((noinline)) inline uint8_t* LongPlainCorner(uint8_t* q, const ObjModel& counts,
                                                          PendingCorner& corner) {
  return PlainCorner(q, counts, corner) ? q : nullptr;
}

#if defined(__SSE2__)
// One corner "p/t" or "p/t/n" at `q` of plain indices within `counts`, and
// the byte that ends it: true, with `q` past them and the corner's 0-based
// indices (kNoNormalIndex for a normal not given) in `corner`; false
// otherwise, `corner` perhaps written. Writes eight bytes at `corner`.
// The usual corner, whose indices have at most four digits each, has the
// three read together, each digit weighted by its power of ten in 16-bit
// lanes, and checked against the counts together; longer indices go to
// PlainCorner. The result is the same either way.
__attribute__((always_inline)) inline bool ReadPlainCorner(uint8_t*& q, const IndexCounts& counts,
                                                           PendingCorner& corner) {
  // The weights of 0 to 4 digits, first digit first; lanes past the digits
  // weigh 0, so whatever bytes follow them count for nothing.
  static constexpr uint64_t kWeights[] = {0, 0x0000000000000001ULL, 0x000000000001000AULL,
                                          0x00000001000A0064ULL, 0x0001000A006403E8ULL};
  const unsigned digits = objtext::DigitMask16(q);
  // Offsets and digit counts unsigned: no sign extension where they index.
  const size_t position_digits = static_cast<unsigned>(objtext::RunLength(digits, 0));
  if (q[position_digits] != '/') return false;
  const size_t tex_start = position_digits + 1;
  const size_t tex_digits = static_cast<unsigned>(objtext::RunLength(digits, static_cast<int>(tex_start)));
  size_t end = tex_start + tex_digits;
  const bool has_normal = q[end] == '/';
  const size_t normal_start = end + 1;
  const size_t normal_run = static_cast<unsigned>(objtext::RunLength(digits, static_cast<int>(normal_start)));
  const size_t normal_digits = has_normal ? normal_run : 0;
  end += has_normal ? 1 + normal_run : 0;
  // 1 to 4 digits each (none for a normal not given); "1/2/" sends the
  // corner to PlainCorner, which refuses it.
  if (((position_digits - 1) | (tex_digits - 1) | (normal_digits - has_normal)) >= 4) {
    uint8_t* after = LongPlainCorner(q, counts.model, corner);
    if (!after) return false;
    q = after;
    return true;
  }
  // A run cut at the sixteenth byte ends in a digit, a token byte.
  const uint8_t c = objtext::ClassOf(q[end]);
  if (c == objtext::kToken) return false;

  const __m128i zero = _mm_setzero_si128();
  const __m128i ascii_zeros = _mm_set1_epi8('0');
  // Four bytes from each index's first digit, as 16-bit lanes: the
  // position's and the texture coordinate's in one register, the normal's
  // (or the bytes after the corner, weighed 0) in another.
  const __m128i first_two = _mm_unpacklo_epi32(_mm_cvtsi32_si128(objtext::Load4(q)),
                                               _mm_cvtsi32_si128(objtext::Load4(q + tex_start)));
  const __m128i lanes01 = _mm_unpacklo_epi8(_mm_sub_epi8(first_two, ascii_zeros), zero);
  const __m128i lanes2 =
      _mm_unpacklo_epi8(_mm_sub_epi8(_mm_cvtsi32_si128(objtext::Load4(q + normal_start)), ascii_zeros), zero);
  const __m128i weights01 =
      _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kWeights[position_digits])),
                         _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kWeights[tex_digits])));
  const __m128i weights2 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kWeights[normal_digits]));
  // Sums of two digits each: p01 p23 t01 t23, and n01 n23 0 0.
  const __m128 pairs01 = _mm_castsi128_ps(_mm_madd_epi16(lanes01, weights01));
  const __m128 pairs2 = _mm_castsi128_ps(_mm_madd_epi16(lanes2, weights2));
  const __m128i values =
      _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(pairs01, pairs2, _MM_SHUFFLE(0, 0, 2, 0))),
                    _mm_castps_si128(_mm_shuffle_ps(pairs01, pairs2, _MM_SHUFFLE(1, 1, 3, 1))));
  // 1 ... count each; the normal's lane only when it is given.
  const __m128i indices = _mm_sub_epi32(values, _mm_set1_epi32(1));
  const __m128i in_range =
      _mm_and_si128(_mm_cmpgt_epi32(counts.lanes, indices), _mm_cmpgt_epi32(values, zero));
  if (((_mm_movemask_ps(_mm_castsi128_ps(in_range)) | (has_normal ? 0 : 4)) & 7) != 7) return false;
  // Below 10,000, so the packing keeps them; a normal not given is 0 - 1,
  // kNoNormalIndex. Eight bytes stored: the pending array has room past
  // its last corner.
  static_assert(kNoNormalIndex == 0xFFFF, "a missing normal packs as -1");
  _mm_storel_epi64(reinterpret_cast<__m128i*>(&corner), _mm_packs_epi32(indices, indices));
  q += end + (c != objtext::kLineEnd);  // and the byte that ended the corner
  return true;
}

// The face record's first `n` corners (3 or 4) from the pending ones: the
// same three 16-bit indices, a normal not given as 0. Reads sixteen bytes
// from the second corner on, past a triangle's end into the next corner
// (there is one: the pending array has a spare), and writes only the `n`
// corners.
__attribute__((always_inline)) inline void RecordFaceCorners(const PendingCorner* pending, int n,
                                                             ObjFace& face) {
  static_assert(sizeof(PendingCorner) == 6 && sizeof face.corners == 24, "corners of three 16-bit indices");
  const __m128i missing = _mm_set1_epi16(static_cast<int16_t>(kNoNormalIndex));
  const uint8_t* from = reinterpret_cast<const uint8_t*>(pending);
  uint8_t* to = reinterpret_cast<uint8_t*>(face.corners);
  // Bytes 0 to 15 hold the normals of corners 0 and 1 (16-bit lanes 2 and
  // 5), bytes 8 to 23 those of corners 1 to 3 (lanes 1, 4 and 7).
  __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8));
  low = _mm_andnot_si128(
      _mm_and_si128(_mm_cmpeq_epi16(low, missing), _mm_setr_epi16(0, 0, -1, 0, 0, -1, 0, 0)), low);
  high = _mm_andnot_si128(
      _mm_and_si128(_mm_cmpeq_epi16(high, missing), _mm_setr_epi16(0, -1, 0, 0, -1, 0, 0, -1)), high);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), low);
  if (n == 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), high);
  } else {
    // Bytes 14 to 17, stored without a byte copy's aliasing of everything.
    _mm_storeu_si32(to + 14, _mm_srli_si128(high, 6));
  }
}
#else
// Without SSE2: ReadPlainCorner one index at a time, RecordFaceCorners one
// corner at a time.
inline bool ReadPlainCorner(uint8_t*& q, const IndexCounts& counts, PendingCorner& corner) {
  return PlainCorner(q, counts.model, corner);
}

inline void RecordFaceCorners(const PendingCorner* pending, int n, ObjFace& face) {
  for (int i = 0; i < n; ++i) {
    face.corners[i][0] = pending[i].position;
    face.corners[i][1] = pending[i].tex_coord;
    face.corners[i][2] = pending[i].normal == kNoNormalIndex ? 0 : pending[i].normal;
  }
}
#endif

}  // namespace objface
