// iftiff.spi and ifpng.spi: first pages and frames of many layouts, made by
// ImageMagick or taken from other projects' test suites, against
// ImageMagick's decode (transparency compared as composited onto black).
#include <gtest/gtest.h>

#include "images.h"

namespace spitest {
namespace {

struct File {
  const char* dll;
  const char* name;
};

class FirstFrames : public ::testing::TestWithParam<File> {};

TEST_P(FirstFrames, DecodeLikeImageMagick) {
  const File f = GetParam();
  SpiDll dll(f.dll);
  const Picture pic = DecodeFile(dll, DataFile(f.name));
  ASSERT_EQ(pic.rc, 0);
  const Reference ref = ReferenceFor(f.name);
  ASSERT_EQ(pic.width, ref.width);
  ASSERT_EQ(pic.height, ref.height);
  EXPECT_GT(pic.header.biHeight, 0);
  EXPECT_TRUE(pic.handedOverUnlocked);
  // 16-bit samples and compositing may round either way.
  const Difference d = Compare(pic, ref);
  EXPECT_LE(d.max, 1) << "mean " << d.mean;
  if (d.max > 1) WritePpm(DataFile(std::string(f.name) + ".got.ppm"), pic);

  spi::PictureInfo info;
  ASSERT_EQ(InfoOf(dll, DataFile(f.name).c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.width, ref.width);
  EXPECT_EQ(info.height, ref.height);
  EXPECT_GT(info.colorDepth, 0);
}

std::string NameOf(const ::testing::TestParamInfo<File>& info) {
  std::string n = info.param.name;
  n = n.substr(0, n.find('.')) + "_" + n.substr(n.find('.') + 1);
  for (char& c : n)
    if (c == '-') c = '_';
  return n;
}

INSTANTIATE_TEST_SUITE_P(
    Tiff, FirstFrames,
    ::testing::Values(File{"iftiff.spi", "none.tif"}, File{"iftiff.spi", "lzw.tif"},
                      File{"iftiff.spi", "deflate.tif"}, File{"iftiff.spi", "packbits.tif"},
                      File{"iftiff.spi", "strips.tif"}, File{"iftiff.spi", "tiles.tif"},
                      File{"iftiff.spi", "tiles_deflate.tif"}, File{"iftiff.spi", "palette.tif"},
                      File{"iftiff.spi", "gray.tif"}, File{"iftiff.spi", "bigendian.tif"},
                      File{"iftiff.spi", "rgb16.tif"}, File{"iftiff.spi", "multipage.tif"},
                      File{"iftiff.spi", "real_lzw-single-strip.tiff"},
                      File{"iftiff.spi", "real_minisblack-1c-8b.tiff"},
                      File{"iftiff.spi", "real_palette-1c-8b.tiff"},
                      File{"iftiff.spi", "real_rgb-3c-8b.tiff"}),
    NameOf);

INSTANTIATE_TEST_SUITE_P(
    Png, FirstFrames,
    ::testing::Values(File{"ifpng.spi", "plain.png"}, File{"ifpng.spi", "palette.png"},
                      File{"ifpng.spi", "interlaced.png"}, File{"ifpng.spi", "alpha.png"},
                      File{"ifpng.spi", "palette_alpha.png"},
                      File{"ifpng.spi", "real_basn0g04.png"}, File{"ifpng.spi", "real_basn0g08.png"},
                      File{"ifpng.spi", "real_basn2c08.png"}, File{"ifpng.spi", "real_basn3p08.png"},
                      File{"ifpng.spi", "real_basn4a08.png"},
                      File{"ifpng.spi", "real_ibasn0g04.png"}),
    NameOf);

}  // namespace
}  // namespace spitest
