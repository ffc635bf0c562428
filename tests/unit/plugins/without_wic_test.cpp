// Run only by the ctest entry unit_plugins_without_wic, where Wine is told
// not to load windowscodecs.dll: a system without the imaging component.
#include <gtest/gtest.h>

#include <cstdlib>

#include "images.h"

namespace spitest {
namespace {

TEST(WithoutWic, PicturesAnswerInternalErrorAndFilesAreStillRecognised) {
  if (std::getenv("GLIMORA_EXPECT_NO_WIC") == nullptr) GTEST_SKIP() << "WIC is present here";
  const char* const pairs[][2] = {
      {"ifjpeg.spi", "baseline.jpg"}, {"ifgif.spi", "plain.gif"}, {"iftiff.spi", "lzw.tif"},
      {"ifpng.spi", "plain.png"}};
  for (const auto& p : pairs) {
    SCOPED_TRACE(p[0]);
    SpiDll dll(p[0]);
    ASSERT_TRUE(dll.Loaded()) << "the DLL itself needs no windowscodecs.dll";
    const std::string name = DataFile(p[1]);
    spi::PictureInfo info;
    // JPEG information comes from the file's header, without WIC.
    EXPECT_EQ(InfoOf(dll, name.c_str(), 0, 0, info), std::string(p[0]) == "ifjpeg.spi" ? 0 : 8);
    EXPECT_EQ(DecodeFile(dll, name).rc, 8);
    EXPECT_EQ(DecodeFile(dll, DataFile("text.jpg")).rc, 2) << "not its format: still 2";
    std::vector<uint8_t> head = ReadBytes(name);
    head.resize(spi::kHeadSize, 0);
    EXPECT_NE(dll.IsSupported(const_cast<LPSTR>(name.c_str()), reinterpret_cast<DWORD>(head.data())),
              0);
  }
}

}  // namespace
}  // namespace spitest
