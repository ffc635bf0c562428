// The two passes of the resampler, in a plain and an SSE2 form that compute
// the same integers (Resample.cpp chooses; ResampleSse2.cpp holds the SSE2
// form, compiled for that instruction set alone).
//
// Rows:    mixed[c] = a[c] * (128 - f) + b[c] * f, per channel, 16 bits
// Columns: out[c] = (mixed_i[c] * (128 - f) + mixed_i+1[c] * f + 8192) >> 14
#pragma once
#include <cstdint>

namespace picture::kernels {

// Mixes `count` pixels of two source rows into 4 x 16 bits a pixel.
void MixRowsPlain(const uint32_t* a, const uint32_t* b, int count, int f, uint16_t* mixed);
void MixRowsSse2(const uint32_t* a, const uint32_t* b, int count, int f, uint16_t* mixed);

// Each target pixel x mixes mixed pixels offset[x] and offset[x] + 1 by
// weights[x] = (f << 16) | (128 - f).
void MixColumnsPlain(const uint16_t* mixed, const int* offset, const uint32_t* weights, int count,
                     uint32_t* out);
void MixColumnsSse2(const uint16_t* mixed, const int* offset, const uint32_t* weights, int count,
                    uint32_t* out);

}  // namespace picture::kernels
