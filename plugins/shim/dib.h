// The picture as the host receives it: two movable LocalAlloc blocks, a
// BITMAPINFO (40-byte header + colour table) and bottom-up DIB bits with rows
// padded to 4 bytes. Dib owns both until HandOver gives them to the caller.
#pragma once
#include <cstddef>
#include <cstdint>

#include "spi.h"

namespace spi {

// Pictures larger than this are refused with kNoMemory before allocating
// (in 64 bits, where the address space allows it, four times as much).
constexpr int kMaxSide = 32768;
#ifdef _WIN64
constexpr std::size_t kMaxBitsBytes = 1024u * 1024u * 1024u;
#else
constexpr std::size_t kMaxBitsBytes = 256u * 1024u * 1024u;
#endif

// Bytes in one DIB row of the given width and bit count (padded to 4), or 0
// when the picture exceeds the limits above.
std::size_t DibStride(int width, int bitCount);
bool WithinLimits(int width, int height, int bitCount);

class Dib {
 public:
  Dib() = default;
  ~Dib();
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  // bitCount 8 (with a colour table of `colours` entries) or 24 (none).
  // Returns kSuccess, or kNoMemory past the limits or when allocation fails.
  int Create(int width, int height, int bitCount, int colours);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::size_t Stride() const { return stride_; }
  // Row y counted from the top of the picture.
  uint8_t* Row(int y) { return bits_ + static_cast<std::size_t>(height_ - 1 - y) * stride_; }
  RGBQUAD* Colours() { return info_->bmiColors; }
  void SetColour(int index, uint32_t rgb);  // rgb: 0x00RRGGBB

  // Unlocks both blocks and passes their ownership to the caller.
  void HandOver(HANDLE* info, HANDLE* bits);

 private:
  void Release();

  HLOCAL infoHandle_ = nullptr;
  HLOCAL bitsHandle_ = nullptr;
  BITMAPINFO* info_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
};

}  // namespace spi
