// One libFuzzer entry point per retro format: the input is a whole file.
// Each run sniffs the zero-padded head, reads the header only, and decodes
// fully with a progress callback that sometimes asks to stop. Pictures over
// 4 M pixels are only header-read: their large buffers would slow the search
// without reaching other code (the size limits are covered by the unit tests).
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "retro/image.h"

#define RETRO_FUZZ_TARGET(FORMAT)                                                            \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {           \
    const retro::Format& format = retro::FORMAT();                                          \
    std::vector<uint8_t> head(2048, 0);                                                    \
    std::memcpy(head.data(), data, size < head.size() ? size : head.size());               \
    format.sniff(head.data(), head.size());                                                \
    retro::Image image;                                                                    \
    if (format.decode(data, size, image, true, nullptr) == retro::kOk &&                  \
        static_cast<long long>(image.width) * image.height > (4LL << 20))                   \
      return 0;                                                                            \
    const int stopAt = size > 0 ? data[size - 1] % 64 : 0;                                 \
    int calls = 0;                                                                         \
    const retro::Progress progress = [&](int, int) { return ++calls == stopAt; };          \
    if (format.decode(data, size, image, false, progress) == retro::kOk) {                 \
      const std::size_t expected = static_cast<std::size_t>(image.width) * image.height *  \
                                   (image.indexed ? 1 : 3);                                \
      if (image.pixels.size() != expected) __builtin_trap();                               \
      if (image.indexed)                                                                   \
        for (uint8_t p : image.pixels)                                                     \
          if (p >= image.palette.size()) __builtin_trap();                                 \
    }                                                                                      \
    return 0;                                                                              \
  }
