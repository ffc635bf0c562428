// 16-bit samples in PNG and TIFF (colour, gray, with and without alpha, both
// TIFF byte orders, interlaced PNG) come out as the high byte of each
// sample, on Windows and Wine alike. The files hold the colours of
// make_images.py's KNOWN16 table, whose high and low bytes differ.
#include <gtest/gtest.h>

#include "images.h"

namespace spitest {
namespace {

struct Rgb16 {
  int r, g, b;
};
const Rgb16 kKnown[4] = {{0x897A, 0x5AE1, 0x39B1}, {0x00FF, 0xFF00, 0x8001},
                         {0xFFFF, 0x0000, 0x7F80}, {0x1234, 0xABCD, 0xEF01}};
const int kAlpha[4] = {0xFFFF, 0x8000, 0x0000, 0x40FF};

// Row 0 holds the table left to right, row 1 right to left.
int Index(int x, int y) { return y == 0 ? x : 3 - x; }

// The 8-bit value expected of a sample, composited onto black by `alpha`.
int Expected(int sample, int alpha = 0xFFFF) { return (sample >> 8) * (alpha >> 8) / 255; }

void ExpectPixels(const Picture& pic, bool gray, bool withAlpha, const std::string& file) {
  ASSERT_EQ(pic.rc, 0) << file;
  ASSERT_EQ(pic.width, 4) << file;
  ASSERT_EQ(pic.height, 2) << file;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      const Rgb16& c = kKnown[Index(x, y)];
      const int a = withAlpha ? kAlpha[Index(x, y)] : 0xFFFF;
      const int want[3] = {Expected(c.r, a), Expected(gray ? c.r : c.g, a),
                           Expected(gray ? c.r : c.b, a)};
      const uint8_t* got = &pic.rgb[(y * 4 + x) * 3];
      for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(got[k], want[k], withAlpha ? 1 : 0)
            << file << " pixel " << x << "," << y << " channel " << k;
    }
}

TEST(SixteenBitSamples, ColourTakesTheHighByte) {
  SpiDll png("ifpng.spi"), tiff("iftiff.spi");
  for (const char* file : {"rgb16.png", "rgb16_interlaced.png"})
    ExpectPixels(DecodeFile(png, DataFile(file)), false, false, file);
  for (const char* file : {"rgb16_le.tif", "rgb16_be.tif"})
    ExpectPixels(DecodeFile(tiff, DataFile(file)), false, false, file);
}

TEST(SixteenBitSamples, GrayTakesTheHighByteAndStaysEightBit) {
  SpiDll png("ifpng.spi"), tiff("iftiff.spi");
  const Picture fromPng = DecodeFile(png, DataFile("gray16.png"));
  ExpectPixels(fromPng, true, false, "gray16.png");
  EXPECT_EQ(fromPng.header.biBitCount, 8);
  const Picture fromTiff = DecodeFile(tiff, DataFile("gray16.tif"));
  ExpectPixels(fromTiff, true, false, "gray16.tif");
  EXPECT_EQ(fromTiff.header.biBitCount, 8);
}

TEST(SixteenBitSamples, AlphaIsCompositedOntoBlack) {
  SpiDll png("ifpng.spi"), tiff("iftiff.spi");
  ExpectPixels(DecodeFile(png, DataFile("rgba16.png")), false, true, "rgba16.png");
  ExpectPixels(DecodeFile(png, DataFile("graya16.png")), true, true, "graya16.png");
  ExpectPixels(DecodeFile(tiff, DataFile("rgba16.tif")), false, true, "rgba16.tif");
}

}  // namespace
}  // namespace spitest
