// ifpng.spi (and iftiff.spi's DIB forms): the DIB forms they choose, its
// texts, other formats and cut files (the pixels: first_frame_test.cpp and
// sixteen_bit_test.cpp).
#include <gtest/gtest.h>

#include <cstring>

#include "images.h"

namespace spitest {
namespace {

TEST(PngAndTiff, PaletteAndGrayKeepEightBitsAndColourIs24) {
  const struct {
    const char* dll;
    const char* file;
    int bitCount;
  } rows[] = {
      {"ifpng.spi", "palette.png", 8},         {"ifpng.spi", "real_basn0g08.png", 8},
      {"ifpng.spi", "real_basn2c08.png", 24},  {"ifpng.spi", "alpha.png", 24},
      {"iftiff.spi", "palette.tif", 8},        {"iftiff.spi", "gray.tif", 8},
      {"iftiff.spi", "lzw.tif", 24},
  };
  for (const auto& row : rows) {
    SpiDll dll(row.dll);
    EXPECT_EQ(DecodeFile(dll, DataFile(row.file)).header.biBitCount, row.bitCount) << row.file;
  }
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
