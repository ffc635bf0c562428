// The SSE2 form of the resampler's passes: the same integers as the plain
// form, eight channels at a time. Only these functions use the instruction
// set, and only after Resample has seen the processor has it.
#include <emmintrin.h>

#include "picture/ResampleKernels.h"

namespace picture::kernels {

namespace {

// Two pixels a and b per channel as 16-bit lanes, weighted and rounded to 8 bits.
__attribute__((target("sse2"), always_inline)) inline __m128i Mix(__m128i a, __m128i b, __m128i wa) {
  const __m128i wb = _mm_sub_epi16(_mm_set1_epi16(128), wa);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, wa), _mm_mullo_epi16(b, wb));
  return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(64)), 7);
}

}  // namespace

__attribute__((target("sse2"))) void MixRowsSse2(const uint32_t* a, const uint32_t* b, int count, int f,
                                                 uint32_t* mixed) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i wa = _mm_set1_epi16(static_cast<short>(128 - f));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const __m128i lo = Mix(_mm_unpacklo_epi8(pa, zero), _mm_unpacklo_epi8(pb, zero), wa);
    const __m128i hi = Mix(_mm_unpackhi_epi8(pa, zero), _mm_unpackhi_epi8(pb, zero), wa);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(mixed + i), _mm_packus_epi16(lo, hi));
  }
  if (i < count) MixRowsPlain(a + i, b + i, count - i, f, mixed + i);
}

namespace {

// Target pixels x and x + 1: each one's two mixed pixels side by side.
__attribute__((target("sse2"), always_inline)) inline __m128i MixTwo(const uint32_t* mixed, const int* offset,
                                                     const uint64_t* weights, int x) {
  const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + offset[x]));
  const __m128i second = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(mixed + offset[x + 1]));
  const __m128i pairs = _mm_unpacklo_epi32(first, second);  // a0 a1 b0 b1
  const __m128i zero = _mm_setzero_si128();
  const __m128i wa = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + x)),
                                        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + x + 1)));
  return Mix(_mm_unpacklo_epi8(pairs, zero), _mm_unpackhi_epi8(pairs, zero), wa);
}

}  // namespace

__attribute__((target("sse2"))) void MixColumnsSse2(const uint32_t* mixed, const int* offset,
                                                    const uint64_t* weights, int count, uint32_t* out) {
  int x = 0;
  for (; x + 4 <= count; x += 4) {
    const __m128i four = _mm_packus_epi16(MixTwo(mixed, offset, weights, x), MixTwo(mixed, offset, weights, x + 2));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), four);
  }
  if (x < count) MixColumnsPlain(mixed, offset + x, weights + x, count - x, out + x);
}

}  // namespace picture::kernels
