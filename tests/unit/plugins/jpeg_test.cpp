// ifjpeg.spi against ImageMagick's own decoding of the same files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "images.h"

namespace spitest {
namespace {

class JpegTest : public ::testing::Test {
 protected:
  SpiDll dll_{"ifjpeg.spi"};
};

struct Variant {
  const char* file;
  int bitCount;     // 8 for grayscale, else 24
  int maxDiff;      // largest channel difference allowed against ImageMagick
};

// Decoders may upsample subsampled colour differently (Wine's WIC and
// ImageMagick do): edges may differ a lot, the picture as a whole must not.
constexpr int kSubsampled = 48;

class JpegVariants : public JpegTest, public ::testing::WithParamInterface<Variant> {};

TEST_P(JpegVariants, DecodesLikeImageMagick) {
  const Variant v = GetParam();
  const Picture pic = DecodeFile(dll_, DataFile(v.file));
  ASSERT_EQ(pic.rc, 0);
  const Reference ref = ReferenceFor(v.file);
  ASSERT_EQ(pic.width, ref.width);
  ASSERT_EQ(pic.height, ref.height);
  EXPECT_EQ(pic.header.biSize, 40u);
  EXPECT_GT(pic.header.biHeight, 0) << "bottom-up";
  EXPECT_EQ(pic.header.biBitCount, v.bitCount);
  EXPECT_TRUE(pic.handedOverUnlocked);
  EXPECT_TRUE(pic.bitsBlockLargeEnough);
  const Difference d = Compare(pic, ref);
  EXPECT_LE(d.max, v.maxDiff);
  if (d.max > v.maxDiff) WritePpm(DataFile(std::string(v.file) + ".got.ppm"), pic);
  EXPECT_LT(d.mean, 1.0);
  EXPECT_LT(d.over8, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Files, JpegVariants,
                         ::testing::Values(Variant{"baseline.jpg", 24, 4},
                                           Variant{"subsampled.jpg", 24, kSubsampled},
                                           Variant{"subsampled422.jpg", 24, kSubsampled},
                                           Variant{"progressive.jpg", 24, 4},
                                           Variant{"gray.jpg", 8, 0},
                                           Variant{"cmyk.jpg", 24, 4},
                                           Variant{"real_testorig.jpg", 24, kSubsampled},
                                           Variant{"real_testimgint.jpg", 24, kSubsampled}),
                         [](const auto& info) {
                           std::string n = info.param.file;
                           return n.substr(0, n.find('.'));
                         });

TEST_F(JpegTest, EveryExifOrientationShowsUpright) {
  for (int o = 1; o <= 8; ++o) {
    const std::string file = "orient" + std::to_string(o) + ".jpg";
    SCOPED_TRACE(file);
    const Picture pic = DecodeFile(dll_, DataFile(file));
    ASSERT_EQ(pic.rc, 0);
    const Reference ref = ReferenceFor(file);
    ASSERT_EQ(pic.width, ref.width);
    ASSERT_EQ(pic.height, ref.height);
    EXPECT_LE(Compare(pic, ref).max, 4);

    spi::PictureInfo info;
    ASSERT_EQ(InfoOf(dll_, DataFile(file).c_str(), 0, 0, info), 0);
    EXPECT_EQ(info.width, ref.width);
    EXPECT_EQ(info.height, ref.height);
  }
}

TEST_F(JpegTest, PreviewIsAQuarterRoundedUp) {
  const Picture pic = DecodeFile(dll_, DataFile("big.jpg"), 0, Call::kPreview);
  ASSERT_EQ(pic.rc, 0);
  EXPECT_EQ(pic.width, 251);
  EXPECT_EQ(pic.height, 188);
  // Close to a box filter's quarter: same picture, softer or sharper.
  EXPECT_LT(Compare(pic, ReferenceFor("big.preview")).mean, 6.0);

  const Picture turned = DecodeFile(dll_, DataFile("big_orient6.jpg"), 0, Call::kPreview);
  ASSERT_EQ(turned.rc, 0);
  EXPECT_EQ(turned.width, 188);
  EXPECT_EQ(turned.height, 251);

  spi::PictureInfo info;
  ASSERT_EQ(InfoOf(dll_, DataFile("big.jpg").c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.width, 1001);
  EXPECT_EQ(info.height, 750);
}

TEST_F(JpegTest, InfoGivesDepthDensitiesAndComment) {
  spi::PictureInfo info;
  std::string text = "untouched";
  ASSERT_EQ(InfoOf(dll_, DataFile("comment.jpg").c_str(), 0, 0, info, &text), 0);
  EXPECT_EQ(text, "Glimora comment");
  EXPECT_EQ(info.left, 0);
  EXPECT_EQ(info.top, 0);
  EXPECT_EQ(info.width, 301);
  EXPECT_EQ(info.height, 203);
  EXPECT_EQ(info.colorDepth, 24);
  EXPECT_EQ(info.x_density, 1);
  EXPECT_EQ(info.y_density, 1);

  ASSERT_EQ(InfoOf(dll_, DataFile("baseline.jpg").c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.hInfo, nullptr);

  ASSERT_EQ(InfoOf(dll_, DataFile("gray.jpg").c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.colorDepth, 8);

  // 72 by 144 dots per inch: pixels twice as wide as tall.
  ASSERT_EQ(InfoOf(dll_, DataFile("density.jpg").c_str(), 0, 0, info), 0);
  EXPECT_EQ(info.x_density, 1);
  EXPECT_EQ(info.y_density, 2);
}


// baseline.jpg with the frame header's size changed.
std::vector<uint8_t> Resized(int width, int height) {
  std::vector<uint8_t> bytes = ReadBytes(DataFile("baseline.jpg"));
  for (size_t i = 2; i + 9 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      bytes[i + 5] = static_cast<uint8_t>(height >> 8), bytes[i + 6] = static_cast<uint8_t>(height);
      bytes[i + 7] = static_cast<uint8_t>(width >> 8), bytes[i + 8] = static_cast<uint8_t>(width);
      return bytes;
    }
  ADD_FAILURE() << "no baseline frame header";
  return bytes;
}

// A picture whose DIB would pass 256 MiB (16384 x 16384 x 3 = 768 MiB) is
// refused with the memory code at once, before the decoder allocates it;
// the information call still tells its size.
TEST(JpegLimits, PictureTooLargeForADibIsRefusedWithTheMemoryCode) {
  SpiDll dll("ifjpeg.spi");
  const std::vector<uint8_t> bytes = Resized(16384, 16384);
  EXPECT_EQ(DecodeMemory(dll, bytes).rc, spi::kNoMemory);
  spi::PictureInfo info;
  ASSERT_EQ(InfoOf(dll, reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()),
                   spi::kInputMemory, info),
            0);
  EXPECT_EQ(info.width, 16384);
  EXPECT_EQ(info.height, 16384);
}


// The preview against libjpeg's full decode of the same file averaged over
// 4 x 4 pixels: every sampling, gray, restart markers, 16-bit quantization
// tables, and a progressive file (the imaging component's route).
TEST_F(JpegTest, PreviewIsTheFullPictureAveragedOverFourByFour) {
  for (const char* file : {"q444.jpg", "q420.jpg", "q422.jpg", "qgray.jpg", "qrestart.jpg", "qfine.jpg",
                           "qprogressive.jpg"}) {
    SCOPED_TRACE(file);
    const Picture pic = DecodeFile(dll_, DataFile(file), 0, Call::kPreview);
    ASSERT_EQ(pic.rc, 0);
    const Reference ref = ReferenceFor(std::string(file) + ".quarter");
    ASSERT_EQ(pic.width, ref.width);
    ASSERT_EQ(pic.height, ref.height);
    EXPECT_EQ(pic.header.biBitCount, std::string(file) == "qgray.jpg" ? 8 : 24);
    // Subsampled colour is taken as it is stored here where libjpeg
    // interpolates it: edges differ a little.
    const Difference d = Compare(pic, ref);
    if (std::string(file) == "qprogressive.jpg") {
      EXPECT_LT(d.mean, 6.0);
    } else {
      EXPECT_LE(d.max, 24);
      EXPECT_LT(d.mean, 2.6);
      EXPECT_LT(d.over8, 0.02);
    }
  }
}

// The host's progress callback stops the preview between rows of blocks.
TEST_F(JpegTest, PreviewStopsWhenTheHostAsks) {
  const std::vector<uint8_t> bytes = ReadBytes(DataFile("q420.jpg"));
  struct Asked {
    int calls = 0;
    static int __stdcall Callback(int, int, long data) { return ++reinterpret_cast<Asked*>(data)->calls == 3; }
  } asked;
  const Picture pic = Decode(dll_, Call::kPreview, reinterpret_cast<const char*>(bytes.data()),
                             static_cast<long>(bytes.size()), spi::kInputMemory, &Asked::Callback,
                             reinterpret_cast<long>(&asked));
  EXPECT_EQ(pic.rc, 1);
  EXPECT_EQ(asked.calls, 3);
}

// Run by unit_plugins_without_wic, where Wine does not load windowscodecs.dll:
// only the plug-in's own quarter decoder can make a preview there. The JPEGs
// it is meant for (sequential, gray or YCbCr, camera photos) still get the
// box-filtered quarter; a progressive one is left to the missing component.
TEST(WithoutWic, JpegPreviewsOfSequentialFilesAreDecodedByThePlugInItself) {
  if (std::getenv("GLIMORA_EXPECT_NO_WIC") == nullptr) GTEST_SKIP() << "WIC is present here";
  SpiDll dll("ifjpeg.spi");
  for (const char* file : {"q444.jpg", "q420.jpg", "q422.jpg", "qgray.jpg", "qrestart.jpg", "qfine.jpg"}) {
    SCOPED_TRACE(file);
    const Picture pic = DecodeFile(dll, DataFile(file), 0, Call::kPreview);
    ASSERT_EQ(pic.rc, 0);
    const Reference ref = ReferenceFor(std::string(file) + ".quarter");
    ASSERT_EQ(pic.width, ref.width);
    ASSERT_EQ(pic.height, ref.height);
    EXPECT_LT(Compare(pic, ref).mean, 2.6);
  }
  for (const char* file : {"real_Landscape_5.jpg", "real_Portrait_4.jpg", "real_testorig.jpg"}) {
    SCOPED_TRACE(file);
    spi::PictureInfo info;
    ASSERT_EQ(InfoOf(dll, DataFile(file).c_str(), 0, 0, info), 0);
    const Picture pic = DecodeFile(dll, DataFile(file), 0, Call::kPreview);
    ASSERT_EQ(pic.rc, 0);
    EXPECT_EQ(pic.width, (info.width + 3) / 4);
    EXPECT_EQ(pic.height, (info.height + 3) / 4);
  }
  EXPECT_EQ(DecodeFile(dll, DataFile("qprogressive.jpg"), 0, Call::kPreview).rc, spi::kInternalError);
}

}  // namespace
}  // namespace spitest
