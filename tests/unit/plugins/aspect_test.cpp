// Retro pictures with non-square pixels through the real plug-ins and the
// picture component: a 200-line MAG and Pi files with an aspect ratio show
// at their true proportions, each stored row or column repeated.
#include <gtest/gtest.h>

#include "images.h"
#include "picture/All.h"
#include "support/retro_encoders.h"

namespace spitest {
namespace {

std::vector<uint32_t> Palette16() {
  std::vector<uint32_t> p;
  for (uint32_t i = 0; i < 16; ++i) p.push_back((i * 16) << 16 | (255 - i * 15) << 8 | (i * 7));
  return p;
}

// The component's picture as 0xRRGGBB values, top-down.
std::vector<uint32_t> Shown(const TAll& p) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = p.Width();
  bmi.bmiHeader.biHeight = -p.Height();
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(p.Width()) * p.Height());
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, p.Bitmap(), 0, p.Height(), pixels.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (uint32_t& v : pixels) v &= 0xFFFFFF;
  return pixels;
}

// Loads the file and checks that shown (x, y) is stored (x / sx, y / sy).
void ExpectStretched(const std::string& name, const std::vector<uint8_t>& file,
                     const retro_test::IndexedPicture& stored, int sx, int sy) {
  WriteBytes(DataFile(name), file);
  TAll_nmsg p;
  p.SetPictureName(DataFile(name));
  ASSERT_EQ(p.Error(), 0) << name;
  ASSERT_EQ(p.Width(), stored.width * sx) << name;
  ASSERT_EQ(p.Height(), stored.height * sy) << name;
  const std::vector<uint32_t> shown = Shown(p);
  int wrong = 0;
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      const uint8_t index = stored.pixels[(y / sy) * stored.width + x / sx];
      wrong += shown[static_cast<size_t>(y) * p.Width() + x] != stored.palette[index];
    }
  EXPECT_EQ(wrong, 0) << name;
}

TEST(RetroAspect, TwoHundredLineMagIsShownTwiceAsTall) {
  retro_test::IndexedPicture picture = retro_test::MakePattern(64, 40, 16, 5);
  picture.palette = Palette16();
  retro_test::MagOptions tall;
  tall.lines200 = true;
  ExpectStretched("aspect200.mag", retro_test::EncodeMag(picture, tall), picture, 1, 2);
  ExpectStretched("aspect400.mag", retro_test::EncodeMag(picture), picture, 1, 1);
}

TEST(RetroAspect, PiWithNonSquarePixelsIsStretchedAlongTheDenserSide) {
  retro_test::IndexedPicture picture = retro_test::MakePattern(48, 32, 16, 9);
  picture.palette = Palette16();
  retro_test::PiOptions tall, wide, square;
  tall.aspectN = 2, tall.aspectM = 1;  // pixels twice as tall as wide
  wide.aspectN = 1, wide.aspectM = 2;
  ExpectStretched("tall.pi", retro_test::EncodePi(picture, tall), picture, 1, 2);
  ExpectStretched("wide.pi", retro_test::EncodePi(picture, wide), picture, 2, 1);
  ExpectStretched("square.pi", retro_test::EncodePi(picture, square), picture, 1, 1);
}

}  // namespace
}  // namespace spitest
