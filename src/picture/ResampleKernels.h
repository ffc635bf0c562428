// The two passes of the resampler, in a plain and an SSE2 form that compute
// the same integers (Resample.cpp chooses; ResampleSse2.cpp holds the SSE2
// form, compiled for that instruction set alone). Each pass mixes two
// pixels per channel in 16 bits and rounds to 8:
//
// Rows:    mixed[c] = (a[c] * (128 - f) + b[c] * f + 64) >> 7
// Columns: out[c] = (mixed_i[c] * (128 - f) + mixed_i+1[c] * f + 64) >> 7
#pragma once
#include <cstdint>

namespace picture::kernels {

// Mixes `count` pixels of two source rows into `mixed`.
void MixRowsPlain(const uint32_t* a, const uint32_t* b, int count, int f, uint32_t* mixed);
void MixRowsSse2(const uint32_t* a, const uint32_t* b, int count, int f, uint32_t* mixed);

// Each target pixel x mixes mixed pixels offset[x] and offset[x] + 1 by
// weights[x]: 128 - f in each of its four 16-bit parts.
void MixColumnsPlain(const uint32_t* mixed, const int* offset, const uint64_t* weights, int count,
                     uint32_t* out);
void MixColumnsSse2(const uint32_t* mixed, const int* offset, const uint64_t* weights, int count,
                    uint32_t* out);

}  // namespace picture::kernels
