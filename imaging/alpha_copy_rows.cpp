#include "imaging/alpha_copy_rows.h"

#include "imaging/pixel_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {
// B, G, R and A of four pixels: s + (d - s) * keep / 256, keep 0..256 per
// pixel in 32-bit lanes. Built from |d - s| so that the product fits an
// unsigned 16-bit lane and truncation toward zero is a plain shift.
inline __m128i MixFour(__m128i d, __m128i s, __m128i keep) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i high = _mm_max_epu8(d, s);
  const __m128i distance = _mm_sub_epi8(high, _mm_min_epu8(d, s));
  const __m128i destAbove = _mm_cmpeq_epi8(high, d);
  const __m128i keepPairs = _mm_or_si128(keep, _mm_slli_epi32(keep, 16));
  const __m128i keepLow = _mm_unpacklo_epi32(keepPairs, keepPairs);
  const __m128i keepHigh = _mm_unpackhi_epi32(keepPairs, keepPairs);
  const __m128i stepLow =
      _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(distance, zero), keepLow), 8);
  const __m128i stepHigh =
      _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(distance, zero), keepHigh), 8);
  const __m128i step = _mm_packus_epi16(stepLow, stepHigh);
  return _mm_sub_epi8(_mm_add_epi8(s, _mm_and_si128(destAbove, step)),
                      _mm_andnot_si128(destAbove, step));
}

// B, G, R from mixed and the alpha byte from alpha.
inline __m128i WithAlpha(__m128i mixed, __m128i alpha) {
  const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  return _mm_or_si128(_mm_andnot_si128(alphaBytes, mixed), _mm_and_si128(alphaBytes, alpha));
}

inline __m128i Load(const PIX_PixelWord* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(PIX_PixelWord* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
}  // namespace

void PIX_SourceAlphaOverRow(PIX_PixelWord* dest, const PIX_PixelWord* src, int count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i opaque = _mm_set1_epi32(255);
  int x = 0;
  for (; x + 4 <= count; x += 4) {
    const __m128i s = Load(src + x);
    const __m128i sa = _mm_srli_epi32(s, 24);
    const __m128i clear = _mm_cmpeq_epi32(sa, zero);
    const int clearBits = _mm_movemask_epi8(clear);
    // Images are mostly wholly clear or wholly opaque runs.
    if (clearBits == 0xFFFF) continue;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(sa, opaque)) == 0xFFFF) {
      Store(dest + x, s);
      continue;
    }
    const __m128i d = Load(dest + x);
    const __m128i mixed = MixFour(d, s, _mm_sub_epi32(opaque, sa));
    // min(d_A + s_A, 255) is a saturating byte add.
    const __m128i blended = WithAlpha(mixed, _mm_adds_epu8(d, s));
    Store(dest + x, _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, blended)));
  }
  for (; x < count; ++x) dest[x] = PIX_SourceAlphaOver(dest[x], src[x]);
}

void PIX_SourceAlphaMixRow(PIX_PixelWord* dest, const PIX_PixelWord* src, int count, int w) {
  int x = 0;
  // In lanes only for weights below 256, where (s_A + 1) * w and a stay
  // within 16 bits and one byte; s_A = 0 then gives a = 0 and leaves d as is.
  if (w > 0 && w < 256) {
    const __m128i one = _mm_set1_epi32(1);
    const __m128i full = _mm_set1_epi32(256);
    const __m128i weight = _mm_set1_epi32(w);
    for (; x + 4 <= count; x += 4) {
      const __m128i s = Load(src + x);
      const __m128i d = Load(dest + x);
      const __m128i sa = _mm_srli_epi32(s, 24);
      const __m128i a = _mm_srli_epi32(_mm_mullo_epi16(_mm_add_epi32(sa, one), weight), 8);
      const __m128i mixed = MixFour(d, s, _mm_sub_epi32(full, a));
      Store(dest + x, WithAlpha(mixed, _mm_adds_epu8(d, _mm_slli_epi32(a, 24))));
    }
  }
  for (; x < count; ++x) dest[x] = PIX_SourceAlphaMix(dest[x], src[x], w);
}

#else

void PIX_SourceAlphaOverRow(PIX_PixelWord* dest, const PIX_PixelWord* src, int count) {
  for (int x = 0; x < count; ++x) dest[x] = PIX_SourceAlphaOver(dest[x], src[x]);
}

void PIX_SourceAlphaMixRow(PIX_PixelWord* dest, const PIX_PixelWord* src, int count, int w) {
  for (int x = 0; x < count; ++x) dest[x] = PIX_SourceAlphaMix(dest[x], src[x], w);
}

#endif
