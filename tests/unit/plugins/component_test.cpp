// The real plug-ins through the picture component (TAll_nmsg), as the saver
// loads pictures: sizes, preview, orientation, retries at 128, pixels, and
// the pixel aspect of retro formats.
#include <gtest/gtest.h>

#include <cstdlib>

#include "images.h"
#include "picture/All.h"
#include "picture/PluginRoute.h"
#include "support/retro_encoders.h"

namespace spitest {
namespace {

// The component's bitmap as 0xRRGGBB values, top-down.
std::vector<uint32_t> Pixels(const TAll& p) {
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

TEST(ThroughThePictureComponent, JpegFullAndPreview) {
  TAll_nmsg p;
  p.SetPictureName(DataFile("big.jpg"));
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 1001);
  EXPECT_EQ(p.Height(), 750);
  p.SetPreView(true);
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 251);
  EXPECT_EQ(p.Height(), 188);
  EXPECT_EQ(p.OrgWidth(), 1001);
  EXPECT_EQ(p.OrgHeight(), 750);

  // A photo taken on its side stands upright, preview or not.
  p.SetPictureName(DataFile("big_orient6.jpg"));
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 188);
  EXPECT_EQ(p.Height(), 251);
  EXPECT_EQ(p.OrgWidth(), 750);
  p.SetPreView(false);
  EXPECT_EQ(p.Width(), 750);
  EXPECT_EQ(p.Height(), 1001);
}

// The real JPEG plug-in picked for a target: its quarter preview for a
// target a quarter of the photo or smaller, else the full photo; other
// formats always in full.
TEST(ThroughThePictureComponent, DecodeForSizeWithTheRealPlugins) {
  HDC dc = GetDC(nullptr);
  picture::PluginOutcome out =
      picture::DecodeForSize(picture::Decoder::Jpg, DataFile("big.jpg"), 250, 187, dc);
  EXPECT_EQ(out.error, 0);
  EXPECT_TRUE(out.preview);
  EXPECT_EQ(out.picture.width, 251);
  EXPECT_EQ(out.picture.height, 188);
  EXPECT_EQ(out.orgWidth, 1001);

  out = picture::DecodeForSize(picture::Decoder::Jpg, DataFile("big.jpg"), 1024, 768, dc);
  EXPECT_EQ(out.error, 0);
  EXPECT_FALSE(out.preview);
  EXPECT_EQ(out.picture.width, 1001);

  out = picture::DecodeForSize(picture::Decoder::Jpg, DataFile("big_orient6.jpg"), 100, 100, dc);
  EXPECT_TRUE(out.preview);
  EXPECT_EQ(out.picture.width, 188) << "upright";
  EXPECT_EQ(out.picture.height, 251);

  out = picture::DecodeForSize(picture::Decoder::Png, DataFile("plain.png"), 10, 10, dc);
  EXPECT_EQ(out.error, 0);
  EXPECT_FALSE(out.preview);
  EXPECT_EQ(out.picture.width, 301);
  ReleaseDC(nullptr, dc);
}

TEST(ThroughThePictureComponent, JpegWithA128BytePrefix) {
  const std::vector<uint8_t> jpeg = ReadBytes(DataFile("baseline.jpg"));
  std::vector<uint8_t> prefixed(128, 0);
  prefixed.insert(prefixed.end(), jpeg.begin(), jpeg.end());
  WriteBytes(DataFile("component_prefixed.jpg"), prefixed);
  TAll_nmsg p;
  p.SetPictureName(DataFile("component_prefixed.jpg"));
  EXPECT_EQ(p.Error(), 0);
  EXPECT_EQ(p.Width(), 301);
  EXPECT_EQ(p.Height(), 203);
}

TEST(ThroughThePictureComponent, GifPixelsWithTransparencyAsBlack) {
  TAll_nmsg p;
  p.SetPictureName(DataFile("transparent.gif"));
  ASSERT_EQ(p.Error(), 0);
  ASSERT_EQ(p.Width(), 120);
  ASSERT_EQ(p.Height(), 80);
  const std::vector<uint32_t> px = Pixels(p);
  EXPECT_EQ(px[79 * 120 + 119], 0x000000u);
  EXPECT_EQ(px[5 * 120 + 5], 0x0000FFu);
  EXPECT_EQ(px[40 * 120 + 60], 0xFF0000u);
}

TEST(ThroughThePictureComponent, TiffPixelsMatchImageMagick) {
  TAll_nmsg p;
  p.SetPictureName(DataFile("palette.tif"));
  ASSERT_EQ(p.Error(), 0);
  const Reference ref = ReferenceFor("palette.tif");
  ASSERT_EQ(p.Width(), ref.width);
  ASSERT_EQ(p.Height(), ref.height);
  const std::vector<uint32_t> px = Pixels(p);
  // The file's 16-bit palette may round either way to 8 bits.
  int wrong = 0;
  for (size_t i = 0; i < px.size(); ++i)
    for (int c = 0; c < 3; ++c)
      wrong += std::abs(static_cast<int>(px[i] >> (16 - 8 * c) & 0xFF) - ref.rgb[i * 3 + c]) > 1;
  EXPECT_EQ(wrong, 0);
}

TEST(ThroughThePictureComponent, FilesThatAreNotTheirFormat) {
  TAll_nmsg p;
  p.SetPictureName(DataFile("text.jpg"));
  EXPECT_EQ(p.Error(), 2);
  EXPECT_EQ(p.PictureName(), "");
  // A TIFF named .mag: the MAG plug-in answers 2 at 0 and at 128.
  const std::vector<uint8_t> tiff = ReadBytes(DataFile("lzw.tif"));
  WriteBytes(DataFile("not_really.mag"), tiff);
  p.SetPictureName(DataFile("not_really.mag"));
  EXPECT_EQ(p.Error(), 2);
  EXPECT_EQ(p.PictureName(), "");
}

// ---- retro pictures with non-square pixels: a 200-line MAG and Pi files
// with an aspect ratio show at their true proportions, each stored row or
// column repeated.

std::vector<uint32_t> Palette16() {
  std::vector<uint32_t> p;
  for (uint32_t i = 0; i < 16; ++i) p.push_back((i * 16) << 16 | (255 - i * 15) << 8 | (i * 7));
  return p;
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
  const std::vector<uint32_t> shown = Pixels(p);
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
