// Device-independent bitmaps read without Windows: the header (12-byte core,
// 40-byte and the later 52 to 124-byte forms), masks, colour table and pixel
// rows, checked against the bytes actually present (no size is trusted) and
// brought to one form: bottom-up rows, no run-length coding.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace picture {

struct DibLimits {
  int maxSide;
  long long maxPixels;
};

struct DibLayout {
  static constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

  DibLayout() = default;
  DibLayout(DibLayout&&) = default;
  DibLayout& operator=(DibLayout&&) = default;
  DibLayout(const DibLayout&) = delete;  // bits may point into ownBits
  DibLayout& operator=(const DibLayout&) = delete;

  int width = 0, height = 0;  // height positive
  int bitCount = 0;           // 8 after run-length data has been expanded
  uint32_t compression = kRgb;  // kRgb or kBitfields once read
  uint32_t masks[3] = {};
  std::vector<std::array<uint8_t, 4>> colours;  // blue, green, red, 0 (8 bits or fewer)
  std::vector<uint8_t> ownBits;  // rows rebuilt from run-length or top-down data
  const uint8_t* bits = nullptr;  // bottom-up rows: into the caller's bytes or ownBits

  // Bytes in one row of pixels, padded to 4.
  size_t Stride() const;
};

// Parses a header with its masks and colour table from headerBytes bytes at
// header, and the pixel rows from bitsBytes bytes at bits. Throws InvalidGraphic.
// The result may point into the bits given.
DibLayout ReadDibLayout(const uint8_t* header, size_t headerBytes, const uint8_t* bits, size_t bitsBytes,
                        const DibLimits& limits);

// A bitmap file: the 14-byte file header, then a DIB.
DibLayout ReadBitmapFileLayout(const uint8_t* bytes, size_t size, const DibLimits& limits);

}  // namespace picture
