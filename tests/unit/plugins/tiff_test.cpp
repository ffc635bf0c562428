// iftiff.spi: the DIB forms it chooses (the pixels: first_frame_test.cpp).
#include <gtest/gtest.h>

#include "images.h"

namespace spitest {
namespace {

TEST(TiffTest, PaletteAndGrayKeepEightBits) {
  SpiDll dll("iftiff.spi");
  EXPECT_EQ(DecodeFile(dll, DataFile("palette.tif")).header.biBitCount, 8);
  EXPECT_EQ(DecodeFile(dll, DataFile("gray.tif")).header.biBitCount, 8);
  EXPECT_EQ(DecodeFile(dll, DataFile("lzw.tif")).header.biBitCount, 24);
}

}  // namespace
}  // namespace spitest
