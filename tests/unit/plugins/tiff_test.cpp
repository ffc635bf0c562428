// iftiff.spi: first pages of many TIFF layouts against ImageMagick.
#include <gtest/gtest.h>

#include "images.h"

namespace spitest {
namespace {

class TiffFiles : public ::testing::TestWithParam<const char*> {
 protected:
  SpiDll dll_{"iftiff.spi"};
};

TEST_P(TiffFiles, DecodeLikeImageMagick) {
  const std::string file = GetParam();
  const Picture pic = DecodeFile(dll_, DataFile(file));
  ASSERT_EQ(pic.rc, 0);
  const Reference ref = ReferenceFor(file);
  ASSERT_EQ(pic.width, ref.width);
  ASSERT_EQ(pic.height, ref.height);
  EXPECT_GT(pic.header.biHeight, 0);
  EXPECT_TRUE(pic.handedOverUnlocked);
  EXPECT_LE(Compare(pic, ref).max, 1);  // 16-bit samples may round either way

  spi::PictureInfo info;
  ASSERT_EQ(InfoOf(dll_, DataFile(file).c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.width, ref.width);
  EXPECT_EQ(info.height, ref.height);
  EXPECT_GT(info.colorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, TiffFiles,
                         ::testing::Values("none.tif", "lzw.tif", "deflate.tif", "packbits.tif",
                                           "strips.tif", "tiles.tif", "tiles_deflate.tif",
                                           "palette.tif", "gray.tif", "bigendian.tif",
                                           "rgb16.tif", "multipage.tif",
                                           "real_lzw-single-strip.tiff",
                                           "real_minisblack-1c-8b.tiff",
                                           "real_palette-1c-8b.tiff", "real_rgb-3c-8b.tiff"),
                         [](const auto& info) {
                           std::string n = info.param;
                           n = n.substr(0, n.find('.'));
                           for (char& c : n)
                             if (c == '-') c = '_';
                           return n;
                         });

TEST(TiffTest, PaletteAndGrayKeepEightBits) {
  SpiDll dll("iftiff.spi");
  EXPECT_EQ(DecodeFile(dll, DataFile("palette.tif")).header.biBitCount, 8);
  EXPECT_EQ(DecodeFile(dll, DataFile("gray.tif")).header.biBitCount, 8);
  EXPECT_EQ(DecodeFile(dll, DataFile("lzw.tif")).header.biBitCount, 24);
}

}  // namespace
}  // namespace spitest
