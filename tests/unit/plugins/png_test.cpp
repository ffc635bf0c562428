// ifpng.spi: PNG layouts (palette, gray 4/8, colour, alpha, interlaced) from
// ImageMagick and from the PNG test suite, against ImageMagick's decode;
// transparency is compared as composited onto black.
#include <gtest/gtest.h>

#include <cstring>

#include "images.h"

namespace spitest {
namespace {

class PngFiles : public ::testing::TestWithParam<const char*> {
 protected:
  SpiDll dll_{"ifpng.spi"};
};

TEST_P(PngFiles, DecodeLikeImageMagick) {
  const std::string file = GetParam();
  const Picture pic = DecodeFile(dll_, DataFile(file));
  ASSERT_EQ(pic.rc, 0);
  const Reference ref = ReferenceFor(file);
  ASSERT_EQ(pic.width, ref.width);
  ASSERT_EQ(pic.height, ref.height);
  EXPECT_GT(pic.header.biHeight, 0);
  EXPECT_TRUE(pic.handedOverUnlocked);
  const Difference d = Compare(pic, ref);
  EXPECT_LE(d.max, 1) << "mean " << d.mean;  // compositing may round either way
  if (d.max > 1) WritePpm(DataFile(file + ".got.ppm"), pic);

  spi::PictureInfo info;
  ASSERT_EQ(InfoOf(dll_, DataFile(file).c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.width, ref.width);
  EXPECT_EQ(info.height, ref.height);
  EXPECT_GT(info.colorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, PngFiles,
                         ::testing::Values("plain.png", "palette.png", "interlaced.png",
                                           "alpha.png", "palette_alpha.png",
                                           "real_basn0g04.png", "real_basn0g08.png",
                                           "real_basn2c08.png", "real_basn3p08.png",
                                           "real_basn4a08.png", "real_ibasn0g04.png"),
                         [](const auto& info) {
                           std::string n = info.param;
                           return n.substr(0, n.find('.'));
                         });

TEST(PngTest, PaletteAndGrayKeepEightBitsAndColourIs24) {
  SpiDll dll("ifpng.spi");
  EXPECT_EQ(DecodeFile(dll, DataFile("palette.png")).header.biBitCount, 8);
  EXPECT_EQ(DecodeFile(dll, DataFile("real_basn0g08.png")).header.biBitCount, 8);
  EXPECT_EQ(DecodeFile(dll, DataFile("real_basn2c08.png")).header.biBitCount, 24);
  EXPECT_EQ(DecodeFile(dll, DataFile("alpha.png")).header.biBitCount, 24);
}

TEST(PngTest, TellsItsFormatAndDeclinesOthers) {
  SpiDll dll("ifpng.spi");
  EXPECT_EQ(dll.Info(0), "00IN");
  EXPECT_EQ(dll.Info(2), "*.png");
  EXPECT_EQ(dll.Info(3), "PNG");
  EXPECT_EQ(DecodeFile(dll, DataFile("baseline.jpg")).rc, 2);
  EXPECT_EQ(DecodeFile(dll, DataFile("text.jpg")).rc, 2);

  std::vector<uint8_t> head = ReadBytes(DataFile("plain.png"));
  head.resize(2048, 0);
  EXPECT_EQ(dll.IsSupported(const_cast<char*>("x.png"), reinterpret_cast<DWORD>(head.data())), 1);
  std::memcpy(head.data(), "GIF89a", 6);
  EXPECT_EQ(dll.IsSupported(const_cast<char*>("x.png"), reinterpret_cast<DWORD>(head.data())), 0);
  EXPECT_EQ(DecodeMemory(dll, ReadBytes(DataFile("plain.png"))).rc, 0);
  EXPECT_EQ(dll.GetPreview(const_cast<char*>("x"), 0, 0, nullptr, nullptr, nullptr, 0), -1);
}

TEST(PngTest, CutShortFileIsBrokenNotACrash) {
  SpiDll dll("ifpng.spi");
  std::vector<uint8_t> bytes = ReadBytes(DataFile("plain.png"));
  // (Only the end chunk missing is no fault: every pixel is there.)
  for (size_t keep : {size_t{8}, size_t{33}, size_t{60}, bytes.size() / 3, bytes.size() / 2}) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + keep);
    const Picture pic = DecodeMemory(dll, cut);
    EXPECT_NE(pic.rc, 0) << keep;
    EXPECT_NE(pic.rc, -99) << keep;
  }
}

}  // namespace
}  // namespace spitest
