// Fuzz entry points for the program's own readers (bitmap, icon, metafiles):
// the portable parsing that runs before any GDI call. A parse that succeeds
// must describe bytes that exist: every byte it points at is read here, so
// the address sanitizer sees any that lie outside the input.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture/InvalidGraphic.h"

// Sums `length` bytes from p (the sum is used so the reads are not dropped).
inline unsigned TouchBytes(const uint8_t* p, std::size_t length) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum += p[i];
  return sum;
}

#define NATIVE_FUZZ_TARGET(BODY)                                                 \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) { \
    try {                                                                         \
      BODY                                                                        \
    } catch (const picture::InvalidGraphic&) {                                    \
    }                                                                             \
    return 0;                                                                     \
  }
