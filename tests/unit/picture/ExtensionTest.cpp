// The extension rule and the choice of decoder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "picture/Decoders.h"

using picture::Decoder;
using picture::DecoderFor;
using picture::PictureExtension;

TEST(Extension, TakesTheLastDotAfterTheLastSeparatorUpperCased) {
  EXPECT_EQ(PictureExtension("C:\\pics\\a.bmp"), ".BMP");
  EXPECT_EQ(PictureExtension("C:\\pics.old\\a.tar.Gif"), ".GIF");
  EXPECT_EQ(PictureExtension("C:\\pics.old\\readme"), "");
  EXPECT_EQ(PictureExtension("a.b:c"), "");
  EXPECT_EQ(PictureExtension("noext"), "");
  EXPECT_EQ(PictureExtension("dot."), ".");
}

TEST(Extension, StepsOverShiftJisCharactersWhole) {
  // 表 is 0x95 0x5C: its trail byte is the code of "\".
  EXPECT_EQ(PictureExtension("C:\\写真\\表.bmp"), ".BMP");
  EXPECT_EQ(PictureExtension("a.b表"), ".B表");
  // ...and a trail byte in the range of "a" to "z" is not upper-cased.
  EXPECT_EQ(PictureExtension("x.\x83\x61"), ".\x83\x61");
  // A lead byte at the very end does not read past the string.
  EXPECT_EQ(PictureExtension("x.p\x95"), ".P\x95");
}

// Run under the Japanese and under a Western code page (see CMakeLists.txt):
// a byte is a lead byte exactly when the system says so.
TEST(Extension, FollowsTheSystemsLeadByteRule) {
  int leads = 0;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char c = static_cast<char>(b);
    const std::string name = std::string("C:\\d\\a.") + c + "\\bgif";
    const bool lead = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
    leads += lead;
    EXPECT_EQ(PictureExtension(name), lead ? std::string(".") + c + "\\BGIF" : std::string())
        << std::hex << b;
  }
  std::printf("code page %u: %d lead bytes\n", GetACP(), leads);
}

TEST(Extension, ChoosesDecodersInTableOrderAndNothingElse) {
  const struct {
    const char* ext;
    Decoder decoder;
  } rows[] = {{".BMP", Decoder::Bmp}, {".ICO", Decoder::Ico},  {".WMF", Decoder::Wmf},
              {".EMF", Decoder::Emf}, {".JPG", Decoder::Jpg},  {".JPE", Decoder::Jpg},
              {".GIF", Decoder::Gif}, {".TIF", Decoder::Tiff}, {".PIC", Decoder::Pic},
              {".P2", Decoder::Pic2}, {".MAG", Decoder::Mag},  {".Q4", Decoder::Xld4},
              {".PI", Decoder::Pi},   {".JPEG", Decoder::Jpg}, {".JFIF", Decoder::Jpg},
              {".TIFF", Decoder::Tiff}, {".PNG", Decoder::Png}};
  for (const auto& row : rows) EXPECT_EQ(DecoderFor(row.ext), row.decoder) << row.ext;
  for (const char* ext : {"", ".", ".bmp", ".BM", ".JPEGS", ".JFI", ".TIFFF", ".PN", ".APNG"})
    EXPECT_EQ(DecoderFor(ext), Decoder::Unsupported) << ext;
  EXPECT_STREQ(picture::PluginRowFor(Decoder::Jpg).file, "ifjpeg.spi");
  EXPECT_STREQ(picture::PluginRowFor(Decoder::Xld4).format, "XLD4");
  EXPECT_STREQ(picture::PluginRowFor(Decoder::Png).file, "ifpng.spi");
  EXPECT_STREQ(picture::PluginRowFor(Decoder::Tiff).file, "iftiff.spi");
}

TEST(Extension, EveryExtensionTheSettingsDialogOffersHasADecoder) {
  const std::string pattern = picture::OfferedPattern();
  EXPECT_EQ(pattern, "*.bmp;*.jpg;*.jpe;*.jpeg;*.jfif;*.gif;*.tif;*.tiff;*.png;*.mag;*.pi;*.pic;*.p2;*.q4");
  int offered = 0;
  for (size_t start = 0; start < pattern.size();) {
    size_t end = pattern.find(';', start);
    if (end == std::string::npos) end = pattern.size();
    const std::string entry = pattern.substr(start, end - start);
    ASSERT_EQ(entry.rfind("*.", 0), 0u) << entry;
    EXPECT_NE(DecoderFor(PictureExtension("a" + entry.substr(1))), Decoder::Unsupported) << entry;
    ++offered;
    start = end + 1;
  }
  EXPECT_EQ(offered, 14);
}
