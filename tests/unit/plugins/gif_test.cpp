// ifgif.spi: the first frame on its logical screen, transparency as black.
#include <gtest/gtest.h>

#include "images.h"

namespace spitest {
namespace {

class GifFiles : public ::testing::TestWithParam<const char*> {
 protected:
  SpiDll dll_{"ifgif.spi"};
};

TEST_P(GifFiles, DecodeExactlyLikeImageMagickOnBlack) {
  const std::string file = GetParam();
  const Picture pic = DecodeFile(dll_, DataFile(file));
  ASSERT_EQ(pic.rc, 0);
  const Reference ref = ReferenceFor(file);
  ASSERT_EQ(pic.width, ref.width);
  ASSERT_EQ(pic.height, ref.height);
  EXPECT_EQ(pic.header.biBitCount, 8);
  EXPECT_GT(pic.header.biHeight, 0);
  EXPECT_TRUE(pic.handedOverUnlocked);
  EXPECT_EQ(Compare(pic, ref).max, 0);

  spi::PictureInfo info;
  ASSERT_EQ(InfoOf(dll_, DataFile(file).c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.width, ref.width);
  EXPECT_EQ(info.height, ref.height);
  EXPECT_EQ(info.colorDepth, 8);
  EXPECT_EQ(info.x_density, info.y_density);
}

// plain, interlaced; transparent (pixels become black); offset (a 50 x 40
// frame at 30, 20 on a 120 x 80 screen); anim (first frame of two).
INSTANTIATE_TEST_SUITE_P(Files, GifFiles,
                         ::testing::Values("plain.gif", "interlaced.gif", "transparent.gif",
                                           "offset.gif", "anim.gif"),
                         [](const auto& info) {
                           std::string n = info.param;
                           return n.substr(0, n.find('.'));
                         });

TEST(GifTest, TransparentCornerIsBlackAndColoursStay) {
  SpiDll dll("ifgif.spi");
  const Picture pic = DecodeFile(dll, DataFile("transparent.gif"));
  ASSERT_EQ(pic.rc, 0);
  auto at = [&](int x, int y) {
    const uint8_t* p = &pic.rgb[(static_cast<size_t>(y) * pic.width + x) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  EXPECT_EQ(at(119, 79), 0x000000);  // transparent
  EXPECT_EQ(at(5, 5), 0x0000FF);     // blue rectangle
  EXPECT_EQ(at(60, 40), 0xFF0000);   // red circle
}

}  // namespace
}  // namespace spitest
