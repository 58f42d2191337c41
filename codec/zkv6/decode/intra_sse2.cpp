#include "intra_sse2.h"

#include <emmintrin.h>

#include "idct.h"

// Compiled for SSE2 whatever the build's baseline: only called where the
// processor has it.
#define SSE2 __attribute__((target("sse2")))

namespace video {

namespace {

// The 1-D transform of idct.h on eight vectors, lane by lane: each lane is
// one row or column. SSE2 has no 32-bit multiply, so each multiplier is
// applied as shifts and adds, the same products modulo 2^32: every lane
// holds what transform8 gives.
static_assert(k1_414213562 == 3 && k1_847759065 == 30 && k1_082392200 == 17 && k2_613125930 == 40,
              "the shifts and adds below apply these multipliers");
SSE2 inline __m128i times1_414213562(__m128i x) { return _mm_add_epi32(x, _mm_slli_epi32(x, 1)); }
SSE2 inline __m128i times1_847759065(__m128i x) { return _mm_sub_epi32(_mm_slli_epi32(x, 5), _mm_slli_epi32(x, 1)); }
SSE2 inline __m128i times1_082392200(__m128i x) { return _mm_add_epi32(_mm_slli_epi32(x, 4), x); }
SSE2 inline __m128i times2_613125930(__m128i x) { return _mm_add_epi32(_mm_slli_epi32(x, 5), _mm_slli_epi32(x, 3)); }

SSE2 void transformLanes(__m128i* s) {
  const __m128i t10 = _mm_add_epi32(s[0], s[4]), t11 = _mm_sub_epi32(s[0], s[4]);
  const __m128i t13 = _mm_add_epi32(s[2], s[6]);
  const __m128i t12 = _mm_sub_epi32(_mm_srai_epi32(times1_414213562(_mm_sub_epi32(s[2], s[6])), 1), t13);
  const __m128i e0 = _mm_add_epi32(t10, t13), e3 = _mm_sub_epi32(t10, t13);
  const __m128i e1 = _mm_add_epi32(t11, t12), e2 = _mm_sub_epi32(t11, t12);

  const __m128i z13 = _mm_add_epi32(s[5], s[3]), z10 = _mm_sub_epi32(s[5], s[3]);
  const __m128i z11 = _mm_add_epi32(s[1], s[7]), z12 = _mm_sub_epi32(s[1], s[7]);
  const __m128i o7 = _mm_add_epi32(z11, z13);
  const __m128i o11 = _mm_srai_epi32(times1_414213562(_mm_sub_epi32(z11, z13)), 1);
  const __m128i z5 = times1_847759065(_mm_add_epi32(z10, z12));
  const __m128i o10 = _mm_srai_epi32(_mm_sub_epi32(times1_082392200(z12), z5), 4);
  const __m128i o12 = _mm_srai_epi32(_mm_sub_epi32(z5, times2_613125930(z10)), 4);
  const __m128i o6 = _mm_sub_epi32(o12, o7), o5 = _mm_sub_epi32(o11, o6), o4 = _mm_add_epi32(o10, o5);

  s[0] = _mm_add_epi32(e0, o7);
  s[7] = _mm_sub_epi32(e0, o7);
  s[1] = _mm_add_epi32(e1, o6);
  s[6] = _mm_sub_epi32(e1, o6);
  s[2] = _mm_add_epi32(e2, o5);
  s[5] = _mm_sub_epi32(e2, o5);
  s[4] = _mm_add_epi32(e3, o4);
  s[3] = _mm_sub_epi32(e3, o4);
}

// The block as sixteen vectors: v[2 r] columns 0-3 of row r, v[2 r + 1]
// columns 4-7.
SSE2 void load(const int32_t* block, __m128i* v) {
  for (int i = 0; i < 16; ++i) v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 4 * i));
}
SSE2 void store(const __m128i* v, int32_t* block) {
  for (int i = 0; i < 16; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + 4 * i), v[i]);
}

SSE2 void transpose4(__m128i& a, __m128i& b, __m128i& c, __m128i& d) {
  const __m128i ab0 = _mm_unpacklo_epi32(a, b), ab1 = _mm_unpackhi_epi32(a, b);
  const __m128i cd0 = _mm_unpacklo_epi32(c, d), cd1 = _mm_unpackhi_epi32(c, d);
  a = _mm_unpacklo_epi64(ab0, cd0);
  b = _mm_unpackhi_epi64(ab0, cd0);
  c = _mm_unpacklo_epi64(ab1, cd1);
  d = _mm_unpackhi_epi64(ab1, cd1);
}

// Transposes the 8x8 block in the sixteen-vector layout.
SSE2 void transpose(__m128i* v) {
  transpose4(v[0], v[2], v[4], v[6]);
  transpose4(v[9], v[11], v[13], v[15]);
  transpose4(v[1], v[3], v[5], v[7]);
  transpose4(v[8], v[10], v[12], v[14]);
  for (int k = 0; k < 4; ++k) {
    const __m128i t = v[2 * k + 1];
    v[2 * k + 1] = v[2 * k + 8];
    v[2 * k + 8] = t;
  }
}

// Every column transformed down its eight values: lane-wise over the rows.
SSE2 void transformColumns(__m128i* v) {
  for (int half = 0; half < 2; ++half) {
    __m128i s[8];
    for (int r = 0; r < 8; ++r) s[r] = v[2 * r + half];
    transformLanes(s);
    for (int r = 0; r < 8; ++r) v[2 * r + half] = s[r];
  }
}

SSE2 void transformRows(__m128i* v) {
  transpose(v);
  transformColumns(v);
  transpose(v);
}

}  // namespace

SSE2 void inverseTransformSse2(int32_t (&block)[64], uint32_t mask) {
  if (mask == 0x101) {
    const __m128i fill = _mm_set1_epi32(block[0]);
    for (int i = 0; i < 64; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + i), fill);
    return;
  }
  // The scalar form's order of the two passes, which its rounding depends
  // on; the rows or columns it skips hold zeros and transform to zeros, and
  // the ones it copies transform to copies, so whole passes give the same.
  const uint32_t columns = mask & 0xFF, rows = (mask >> 8) & 0xFF;
  __m128i v[16];
  load(block, v);
  if (static_cast<int8_t>(rows) >= static_cast<int8_t>(columns)) {
    transformColumns(v);
    transformRows(v);
  } else {
    transformRows(v);
    transformColumns(v);
  }
  store(v, block);
}

namespace {

// Eight transformed values >> shift, as 16-bit lanes (they fit: the values
// lie within the wide bounds).
SSE2 inline __m128i narrow(const int32_t* p, int shift) {
  const __m128i lo = _mm_srai_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), shift);
  const __m128i hi = _mm_srai_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4)), shift);
  return _mm_packs_epi32(lo, hi);
}

SSE2 inline __m128i clamp16(__m128i x, int low, int high) {
  return _mm_min_epi16(_mm_max_epi16(x, _mm_set1_epi16(static_cast<short>(low))), _mm_set1_epi16(static_cast<short>(high)));
}

// n / d truncated toward zero, for |n| below 2^15 / m, by the magic m =
// ceil(2^16 / d) applied to |n|: exact over the ranges used here (the tests
// check every value).
SSE2 inline __m128i divideTowardZero(__m128i n, short magic) {
  const __m128i sign = _mm_srai_epi16(n, 15);
  const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(n, sign), sign);
  const __m128i q = _mm_mulhi_epi16(magnitude, _mm_set1_epi16(magic));
  return _mm_sub_epi16(_mm_xor_si128(q, sign), sign);
}

}  // namespace

SSE2 void convertWideBlockSse2(const int32_t* y, const int32_t* u, const int32_t* v, uint16_t* out, int stride) {
  for (int row = 0; row < 8; ++row, out += stride) {
    const int i = 8 * row;
    const __m128i level = _mm_add_epi16(narrow(y + i, 4), _mm_set1_epi16(128));
    // RV[j] = (16 j + 8) / 10 and GU[j] = j / 3, j held to -256..511.
    const __m128i jv = clamp16(narrow(v + i, 4), -256, 511), ju = clamp16(narrow(u + i, 4), -256, 511);
    const __m128i rv = divideTowardZero(_mm_add_epi16(_mm_slli_epi16(jv, 4), _mm_set1_epi16(8)), 6554);
    const __m128i gu = divideTowardZero(ju, 21846);
    const __m128i r = _mm_srai_epi16(_mm_add_epi16(level, rv), 2);
    const __m128i g = _mm_srai_epi16(_mm_sub_epi16(_mm_sub_epi16(level, _mm_srai_epi16(rv, 1)), gu), 2);
    const __m128i b = _mm_srai_epi16(_mm_add_epi16(level, narrow(u + i, 3)), 2);
    // The pixel tables: j / 2 limited to 31 (green 30), 0 below zero.
    const __m128i red = _mm_slli_epi16(_mm_srli_epi16(clamp16(r, 0, 63), 1), 10);
    const __m128i green = _mm_slli_epi16(_mm_srli_epi16(clamp16(g, 0, 61), 1), 5);
    const __m128i blue = _mm_srli_epi16(clamp16(b, 0, 63), 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_or_si128(red, green), blue));
  }
}

}  // namespace video
