// The 136 x 16 mask strip, generated from the two threshold tables rather
// than stored as a picture: seventeen 8 x 8 masks per band, mask k holding
// every pixel whose threshold is at most k.
#include "saver/effects/Effects.h"

#include <array>

namespace saver {
namespace {

constexpr int kStripWidth = 17 * 8, kStripHeight = 16;

// Ordered 4 x 4 dither, repeated twice each way: one more pixel per block per mask.
constexpr int kFade[4][4] = {
    {13, 15, 4, 8},
    {10, 11, 2, 6},
    {3, 7, 14, 16},
    {1, 5, 9, 12},
};

// A region growing from the bottom-left corner of the cell to its top-right corner.
constexpr int kMesh[8][8] = {
    {14, 14, 14, 15, 15, 15, 15, 16},
    {12, 12, 12, 13, 13, 13, 13, 15},
    {10, 10, 10, 11, 11, 11, 13, 15},
    {8, 8, 9, 9, 9, 11, 13, 15},
    {6, 6, 7, 7, 9, 11, 13, 15},
    {4, 5, 5, 7, 9, 10, 12, 14},
    {2, 3, 5, 6, 8, 10, 12, 14},
    {1, 3, 4, 6, 8, 10, 12, 14},
};

}  // namespace

int MaskThreshold(MaskBand band, int x, int y) {
  x &= 7;
  y &= 7;
  return band == MaskBand::Mesh ? kMesh[y][x] : kFade[y & 3][x & 3];
}

HBITMAP CreateMaskStrip() {
  // Monochrome DDB rows are padded to 16 bits; bit 1 is white, most significant bit first.
  constexpr int stride = (kStripWidth + 15) / 16 * 2;
  std::array<BYTE, stride * kStripHeight> bits{};
  for (int y = 0; y < kStripHeight; ++y) {
    const MaskBand band = y < 8 ? MaskBand::Fade : MaskBand::Mesh;
    for (int x = 0; x < kStripWidth; ++x) {
      const int k = x / 8;
      if (MaskThreshold(band, x, y) <= k) bits[y * stride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return CreateBitmap(kStripWidth, kStripHeight, 1, 1, bits.data());
}

}  // namespace saver
