// Damaged files by the thousand: random bytes changed in real bitmaps, icons
// and metafiles either still decode or are refused as invalid, never more.
// Metafiles are damaged in their headers and record frames only: the reader
// checks their structure, while what the drawing records draw is GDI's
// business (an ellipse millions of pixels tall takes Wine minutes to play).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "PictureTestSupport.h"
#include "picture/InvalidGraphic.h"
#include "picture/NativeFormats.h"

using namespace picture_test;

namespace {

std::vector<BYTE> Bytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<BYTE> Metafile(bool enhanced) {
  const RECT frame = {0, 0, 2000, 1000};
  HDC dc = enhanced ? CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr) : CreateMetaFileA(nullptr);
  SetWindowExtEx(dc, 80, 40, nullptr);
  Rectangle(dc, 2, 2, 30, 20);
  Ellipse(dc, 10, 5, 70, 35);
  std::vector<BYTE> bytes;
  if (enhanced) {
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    bytes.resize(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(emf);
  } else {
    HMETAFILE wmf = CloseMetaFile(dc);
    bytes.resize(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteMetaFile(wmf);
  }
  return bytes;
}

}  // namespace

TEST(Mutation, DamagedNativeFilesDecodeOrAreRefused) {
  using Decode = picture::LoadedPicture (*)(const std::vector<BYTE>&);
  const struct {
    const char* what;
    std::vector<BYTE> bytes;
    Decode decode;
    size_t span;  // bytes that may change (0: anywhere, mostly the first 140)
  } seeds[] = {
      {"b8.bmp", Bytes(Fixtures() + "b8.bmp"), picture::DecodeBitmapFile, 0},
      {"b8rle.bmp", Bytes(Fixtures() + "b8rle.bmp"), picture::DecodeBitmapFile, 0},
      {"b4.bmp", Bytes(Fixtures() + "b4.bmp"), picture::DecodeBitmapFile, 0},
      {"b16.bmp", Bytes(Fixtures() + "b16.bmp"), picture::DecodeBitmapFile, 0},
      {"core8.bmp", Bytes(Fixtures() + "core8.bmp"), picture::DecodeBitmapFile, 0},
      {"icon.ico", Bytes(Fixtures() + "icon.ico"), picture::DecodeIconFile, 0},
      {"wmf", Metafile(false), picture::DecodeWindowsMetafile, 18},
      {"emf", Metafile(true), picture::DecodeEnhancedMetafile, 108},
  };
  std::mt19937 random(20240611);
  for (const auto& seed : seeds) {
    ASSERT_GT(seed.bytes.size(), 20u) << seed.what;
    int decoded = 0, refused = 0;
    for (int round = 0; round < 1500; ++round) {
      std::vector<BYTE> bytes = seed.bytes;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changes; ++i) {
        // Mostly the headers, where sizes and offsets live.
        const size_t span = seed.span ? seed.span
                            : random() % 2 ? std::min<size_t>(bytes.size(), 140) : bytes.size();
        bytes[random() % span] = static_cast<BYTE>(random());
      }
      if (random() % 8 == 0) bytes.resize(random() % bytes.size());
      if (seed.span && bytes.size() > seed.span + 8 && random() % 4 == 0) {  // a record's size field
        const size_t at = seed.span + (random() % (bytes.size() - seed.span)) / 4 * 4;
        if (at + 8 <= bytes.size()) bytes[at + 4 + random() % 4] = static_cast<BYTE>(random());
      }
      try {
        picture::LoadedPicture picture = seed.decode(bytes);
        EXPECT_GT(picture.width, 0);
        ++decoded;
      } catch (const picture::InvalidGraphic&) {
        ++refused;
      }
    }
    std::printf("[ mutation ] %-10s %4d decoded, %4d refused\n", seed.what, decoded, refused);
  }
}
