// The retro plug-ins: the decoded image as the host's DIB (in-process), and
// the DLLs' answers to input that is not theirs.
#include <gtest/gtest.h>

#include "images.h"
#include "retro_plugin.h"
#include "unit/retro/samples.h"

namespace spitest {
namespace {

// Reads row y (from the top) of a DIB the way a host does: bottom-up rows.
struct LockedDib {
  LockedDib(spi::Dib& dib) { dib.HandOver(&info, &bits); }
  ~LockedDib() {
    GlobalUnlock(bits), GlobalUnlock(info);
    GlobalFree(bits), GlobalFree(info);
  }
  const BITMAPINFO* Info() { return static_cast<const BITMAPINFO*>(GlobalLock(info)); }
  const uint8_t* Row(int y) {
    const BITMAPINFOHEADER& h = Info()->bmiHeader;
    const size_t stride = ((h.biWidth * h.biBitCount + 31) / 32) * 4;
    return static_cast<const uint8_t*>(GlobalLock(bits)) + stride * (h.biHeight - 1 - y);
  }
  HANDLE info = nullptr, bits = nullptr;
};

TEST(RetroImageToDib, IndexedBecomesEightBitsWithItsPalette) {
  retro::Image image;
  image.width = 3;
  image.height = 2;
  image.palette = {0x112233, 0xFF0000, 0x00FF80};
  image.pixels = {0, 1, 2,
                  2, 7, 1};  // 7 lies past the palette
  spi::Dib dib;
  ASSERT_EQ(spi::ImageToDib(image, dib), 0);
  LockedDib out(dib);
  const BITMAPINFO* bmi = out.Info();
  EXPECT_EQ(bmi->bmiHeader.biBitCount, 8);
  EXPECT_EQ(bmi->bmiHeader.biClrUsed, 3u);
  EXPECT_EQ(bmi->bmiHeader.biHeight, 2);
  EXPECT_EQ(bmi->bmiColors[0].rgbRed, 0x11);
  EXPECT_EQ(bmi->bmiColors[0].rgbGreen, 0x22);
  EXPECT_EQ(bmi->bmiColors[0].rgbBlue, 0x33);
  EXPECT_EQ(bmi->bmiColors[2].rgbBlue, 0x80);
  EXPECT_EQ(out.Row(0)[0], 0);
  EXPECT_EQ(out.Row(0)[2], 2);
  EXPECT_EQ(out.Row(1)[0], 2);
  EXPECT_EQ(out.Row(1)[1], 0) << "an index past the palette shows colour 0";
  EXPECT_EQ(out.Row(1)[3], 0) << "row padding is zero";
}

TEST(RetroImageToDib, DirectColourBecomesTwentyFourBits) {
  retro::Image image;
  image.width = 2;
  image.height = 2;
  image.indexed = false;
  image.pixels = {1, 2, 3, 4, 5, 6,
                  7, 8, 9, 10, 11, 12};
  spi::Dib dib;
  ASSERT_EQ(spi::ImageToDib(image, dib), 0);
  LockedDib out(dib);
  EXPECT_EQ(out.Info()->bmiHeader.biBitCount, 24);
  EXPECT_EQ(out.Info()->bmiHeader.biClrUsed, 0u);
  const uint8_t* top = out.Row(0);
  EXPECT_EQ(top[0], 1);  // B, G, R as stored
  EXPECT_EQ(top[5], 6);
  EXPECT_EQ(out.Row(1)[3], 10);
}

TEST(RetroImageToDib, InconsistentOrHugeImagesGiveCodes) {
  spi::Dib dib;
  retro::Image empty;
  EXPECT_EQ(spi::ImageToDib(empty, dib), 3);

  retro::Image shortPixels;
  shortPixels.width = shortPixels.height = 4;
  shortPixels.palette = {0};
  shortPixels.pixels.resize(15);
  EXPECT_EQ(spi::ImageToDib(shortPixels, dib), 3);

  retro::Image noPalette;
  noPalette.width = noPalette.height = 1;
  noPalette.pixels = {0};
  EXPECT_EQ(spi::ImageToDib(noPalette, dib), 3);

  retro::Image huge;
  huge.width = 40000;
  huge.height = 1;
  EXPECT_EQ(spi::ImageToDib(huge, dib), 4);
}

TEST(RetroPlugins, DeclineOtherFormatsAndHaveNoPreview) {
  for (const char* file : {"ifpic.spi", "ifpic2.spi", "ifmag.spi", "ifxld4.spi", "ifpi.spi"}) {
    SCOPED_TRACE(file);
    SpiDll dll(file);
    ASSERT_TRUE(dll.Loaded());
    spi::PictureInfo info;
    EXPECT_EQ(InfoOf(dll, DataFile("baseline.jpg").c_str(), 0, 0, info), 2);
    EXPECT_EQ(DecodeFile(dll, DataFile("lzw.tif")).rc, 2);
    EXPECT_EQ(DecodeFile(dll, DataFile("text.jpg")).rc, 2);
  }
}

}  // namespace
}  // namespace spitest

namespace spitest {
namespace {

// The retro decoders' own sample files (made by the test encoders) through
// the DLLs: the same pixels as the decoder gives in-process.
const char* DllFor(const std::string& sample) {
  if (sample.rfind("mag", 0) == 0) return "ifmag.spi";
  if (sample.rfind("pic2", 0) == 0) return "ifpic2.spi";
  if (sample.rfind("pic", 0) == 0) return "ifpic.spi";
  if (sample.rfind("pi", 0) == 0) return "ifpi.spi";
  return "ifxld4.spi";
}

std::vector<uint8_t> RgbOf(const retro::Image& image) {
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < static_cast<size_t>(image.width) * image.height; ++i) {
    if (image.indexed) {
      const uint32_t c = image.palette[image.pixels[i]];
      rgb.insert(rgb.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    } else {
      rgb.insert(rgb.end(), {image.pixels[i * 3 + 2], image.pixels[i * 3 + 1], image.pixels[i * 3]});
    }
  }
  return rgb;
}

int WINAPI Stop(int, int, long) { return 1; }

TEST(RetroPlugins, SampleFilesDecodeThroughTheDlls) {
  for (const retro_samples::Sample& s : retro_samples::AllSamples()) {
    SCOPED_TRACE(s.name);
    retro::Image expected;
    ASSERT_EQ(retro_samples::Decode(*s.format, s.file, expected), retro::kOk);
    const std::string path = DataFile("sample_" + s.name + (s.format->filter + 1));
    WriteBytes(path, s.file);
    SpiDll dll(DllFor(s.name));

    const Picture pic = DecodeFile(dll, path);
    ASSERT_EQ(pic.rc, 0);
    EXPECT_EQ(pic.width, expected.width);
    EXPECT_EQ(pic.height, expected.height);
    EXPECT_EQ(pic.header.biBitCount, expected.indexed ? 8 : 24);
    EXPECT_TRUE(pic.handedOverUnlocked);
    EXPECT_EQ(pic.rgb, RgbOf(expected));
    EXPECT_EQ(DecodeMemory(dll, s.file).rgb, pic.rgb);

    spi::PictureInfo info;
    ASSERT_EQ(InfoOf(dll, path.c_str(), 0, 0, info), 0);
    EXPECT_EQ(info.width, expected.width);
    EXPECT_EQ(info.height, expected.height);
    EXPECT_EQ(info.x_density, expected.xDensity ? expected.xDensity : 1);
    EXPECT_EQ(info.y_density, expected.yDensity ? expected.yDensity : 1);
    EXPECT_EQ(info.colorDepth, expected.depth);

    std::vector<uint8_t> head = s.file;
    head.resize(spi::kHeadSize > head.size() ? spi::kHeadSize : head.size(), 0);
    EXPECT_NE(dll.IsSupported(const_cast<LPSTR>(path.c_str()), reinterpret_cast<DWORD>(head.data())),
              0);
    EXPECT_EQ(Decode(dll, Call::kPicture, path.c_str(), 0, 0, Stop, 0).rc, 1);
  }
}

}  // namespace
}  // namespace spitest
