// The SSE2 form of the resampler's passes: the same integers as the plain
// form, four channels at a time. Only these functions use the instruction
// set, and only after Resample has seen the processor has it.
#include <emmintrin.h>

#include "picture/ResampleKernels.h"

namespace picture::kernels {

__attribute__((target("sse2"))) void MixRowsSse2(const uint32_t* a, const uint32_t* b, int count, int f,
                                                 uint16_t* mixed) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i wa = _mm_set1_epi16(static_cast<short>(128 - f)), wb = _mm_set1_epi16(static_cast<short>(f));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pa, zero), wa),
                                     _mm_mullo_epi16(_mm_unpacklo_epi8(pb, zero), wb));
    const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pa, zero), wa),
                                     _mm_mullo_epi16(_mm_unpackhi_epi8(pb, zero), wb));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(mixed + 4 * i), lo);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(mixed + 4 * i + 8), hi);
  }
  if (i < count) MixRowsPlain(a + i, b + i, count - i, f, mixed + 4 * i);
}

namespace {

// One target pixel as four 32-bit channel sums, rounded and scaled to 0..255.
__attribute__((target("sse2"))) inline __m128i MixPair(const uint16_t* mixed, int offset, uint32_t weights) {
  const __m128i pair = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mixed + 4 * offset));
  // a0 b0 a1 b1 a2 b2 a3 b3: each channel of the two pixels side by side.
  const __m128i sideBySide = _mm_unpacklo_epi16(pair, _mm_srli_si128(pair, 8));
  const __m128i sums = _mm_madd_epi16(sideBySide, _mm_set1_epi32(static_cast<int>(weights)));
  return _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(8192)), 14);
}

}  // namespace

__attribute__((target("sse2"))) void MixColumnsSse2(const uint16_t* mixed, const int* offset,
                                                    const uint32_t* weights, int count, uint32_t* out) {
  int x = 0;
  for (; x + 2 <= count; x += 2) {
    const __m128i first = MixPair(mixed, offset[x], weights[x]);
    const __m128i second = MixPair(mixed, offset[x + 1], weights[x + 1]);
    const __m128i words = _mm_packs_epi32(first, second);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(words, words));
  }
  if (x < count) MixColumnsPlain(mixed, offset + x, weights + x, count - x, out + x);
}

}  // namespace picture::kernels
