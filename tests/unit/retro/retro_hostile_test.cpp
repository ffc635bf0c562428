// Damaged, truncated and oversized files: the decoders answer with a result
// code and never read or write outside their buffers (the fuzz targets and
// the sanitizer build check the latter); the progress callback can stop them.
#include <gtest/gtest.h>

#include <cstring>

#include "samples.h"
#include "support/noise.h"

using retro_samples::AllSamples;

namespace {

bool IsResultCode(retro::Status s) {
  return s == retro::kOk || s == retro::kBroken || s == retro::kUnknownFormat || s == retro::kNoMemory;
}

void WriteBe16(std::vector<uint8_t>& f, std::size_t at, uint32_t v) {
  f[at] = static_cast<uint8_t>(v >> 8);
  f[at + 1] = static_cast<uint8_t>(v);
}

void WriteBe32(std::vector<uint8_t>& f, std::size_t at, uint32_t v) {
  WriteBe16(f, at, v >> 16);
  WriteBe16(f, at + 2, v & 0xFFFF);
}

// A 16 x 8 PIC2 of one coded block that decodes, and where that block starts
// (after the header and the encoder's comment).
struct CodedPic2 {
  std::vector<uint8_t> file;
  std::size_t block;
};

CodedPic2 GoodCodedPic2(bool runLength) {
  std::vector<uint32_t> rgb(16 * 8, 0x123456);
  rgb[40] = 0xFEDCBA;
  retro_test::Pic2Options o;
  o.compressed = true;
  o.runLength = runLength;
  return {retro_test::EncodePic2(16, 8, rgb, o), 124 + std::string("made by retro_encoders").size() + 1};
}

// The first `size` bytes of the block, with its size field saying so, then
// the terminating block.
std::vector<uint8_t> CutBlock(const CodedPic2& good, uint32_t size) {
  std::vector<uint8_t> cut(good.file.begin(), good.file.begin() + good.block + size);
  WriteBe32(cut, good.block + 4, size);
  cut.insert(cut.end(), 8, 0);
  return cut;
}

// A 65535 x 65535 block on a 1 x 30000 canvas.
std::vector<uint8_t> OutsizedBlock(const CodedPic2& good) {
  std::vector<uint8_t> wide = good.file;
  WriteBe16(wide, 116, 1);
  WriteBe16(wide, 118, 30000);
  WriteBe16(wide, good.block + 10, 0xFFFF);
  WriteBe16(wide, good.block + 12, 0xFFFF);
  return wide;
}

// Depth 16 is raw X68000 colours only.
std::vector<uint8_t> Depth16(const CodedPic2& good) {
  std::vector<uint8_t> depth16 = good.file;
  WriteBe16(depth16, 110, 16);
  return depth16;
}

}  // namespace

TEST(Hostile, TruncatedFilesAreBroken) {
  for (const auto& sample : AllSamples()) {
    for (int sixteenth = 0; sixteenth < 16; ++sixteenth) {
      const std::size_t size = sample.file.size() * sixteenth / 16;
      // Copy exactly `size` bytes so that the sanitizer sees any read past them.
      std::vector<uint8_t> cut(sample.file.begin(), sample.file.begin() + size);
      retro::Image image;
      const retro::Status s = sample.format->decode(cut.data(), cut.size(), image, false, nullptr);
      if (size < 16) {
        EXPECT_TRUE(s == retro::kBroken || s == retro::kUnknownFormat) << sample.name << " at " << size;
      } else {
        EXPECT_EQ(s, retro::kBroken) << sample.name << " cut to " << size << " of " << sample.file.size();
      }
      EXPECT_TRUE(image.pixels.empty() || s == retro::kOk);
    }
  }
}

TEST(Hostile, EmptyAndForeignDataAreUnknown) {
  const std::vector<uint8_t> zeros(4096, 0);
  for (const auto& sample : AllSamples()) {
    retro::Image image;
    EXPECT_EQ(sample.format->decode(zeros.data(), 0, image, false, nullptr), retro::kUnknownFormat) << sample.name;
    EXPECT_EQ(sample.format->decode(zeros.data(), zeros.size(), image, false, nullptr), retro::kUnknownFormat)
        << sample.name;
    std::vector<uint8_t> wrong = sample.file;
    wrong[0] ^= 0x20;
    if (sample.name == "xld4") wrong[12] ^= 0x20;  // its magic sits at offset 11
    EXPECT_EQ(retro_samples::Decode(*sample.format, wrong, image), retro::kUnknownFormat) << sample.name;
    EXPECT_FALSE(sample.format->sniff(zeros.data(), zeros.size())) << sample.name;
  }
}

TEST(Hostile, CorruptedBytesGiveResultCodes) {
  for (const auto& sample : AllSamples()) {
    test_noise::Lcg random(99);
    for (int round = 0; round < 200; ++round) {
      std::vector<uint8_t> bad = sample.file;
      for (int flips = 0; flips < 1 + round % 8; ++flips) {
        const uint32_t r = random.Next();
        bad[(r >> 8) % bad.size()] ^= static_cast<uint8_t>(1u << (r >> 29));
      }
      retro::Image image;
      EXPECT_TRUE(IsResultCode(retro_samples::Decode(*sample.format, bad, image))) << sample.name;
    }
  }
}

TEST(Hostile, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  using namespace retro_test;
  IndexedPicture p = MakePattern(16, 8, 16, 1);
  p.palette = retro_samples::Palette(16);
  retro::Image image;

  // MAG: corners 0..65535 in both directions.
  std::vector<uint8_t> mag = EncodeMag(p);
  const std::size_t header = std::find(mag.begin(), mag.end(), 0x1A) - mag.begin() + 1;
  mag[header + 8] = mag[header + 9] = mag[header + 10] = mag[header + 11] = 0xFF;
  EXPECT_EQ(retro_samples::Decode(retro::MagFormat(), mag, image), retro::kNoMemory);
  EXPECT_EQ(retro::MagFormat().decode(mag.data(), mag.size(), image, true, nullptr), retro::kNoMemory);

  // Pi: 65535 x 65535 and 30000 x 30000 (within kMaxSide, beyond kMaxPixelBytes).
  for (uint32_t side : {65535u, 30000u}) {
    std::vector<uint8_t> pi = EncodePi(p);
    const std::size_t sizes = std::search(pi.begin(), pi.end(), std::begin("TEST"), std::end("TEST") - 1) - pi.begin() + 8;
    WriteBe16(pi, sizes, side);
    WriteBe16(pi, sizes + 2, side);
    EXPECT_EQ(retro_samples::Decode(retro::PiFormat(), pi, image), retro::kNoMemory) << side;
  }

  // PIC and PIC2: 65535 x 65535.
  std::vector<uint8_t> pic = EncodePicIndexed(16, 8, p.pixels, std::vector<uint16_t>(16, 1), 4);
  const std::size_t dims = std::find(pic.begin() + 3, pic.end(), 0) - pic.begin() + 5;
  WriteBe16(pic, dims, 0xFFFF);
  WriteBe16(pic, dims + 2, 0xFFFF);
  EXPECT_EQ(retro_samples::Decode(retro::PicFormat(), pic, image), retro::kNoMemory);
  std::vector<uint32_t> rgb(16 * 8, 0x123456);
  std::vector<uint8_t> pic2 = EncodePic2(16, 8, rgb);
  WriteBe16(pic2, 116, 0xFFFF);
  WriteBe16(pic2, 118, 0xFFFF);
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), pic2, image), retro::kNoMemory);
  Pic2Options coded;
  coded.compressed = true;
  std::vector<uint8_t> pic2ss = EncodePic2(16, 8, rgb, coded);
  WriteBe16(pic2ss, 116, 0xFFFF);
  WriteBe16(pic2ss, 118, 0xFFFF);
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), pic2ss, image), retro::kNoMemory);

  // Zero-sized pictures are broken, not empty successes.
  WriteBe16(pic2, 116, 0);
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), pic2, image), retro::kBroken);
}

TEST(Hostile, ProgressIsReportedAndCanStopEveryDecoder) {
  for (const auto& sample : AllSamples()) {
    int calls = 0, last = -1, total = 0;
    bool increasing = true;
    retro::Image image;
    const retro::Progress watch = [&](int done, int all) {
      increasing = increasing && done >= last;
      last = done;
      total = all;
      ++calls;
      return false;
    };
    ASSERT_EQ(sample.format->decode(sample.file.data(), sample.file.size(), image, false, watch), retro::kOk)
        << sample.name;
    EXPECT_GT(calls, 1) << sample.name;
    EXPECT_TRUE(increasing) << sample.name;
    EXPECT_EQ(last, total) << sample.name;

    int seen = 0;
    const retro::Progress stop = [&](int, int) { return ++seen == 2; };
    EXPECT_EQ(sample.format->decode(sample.file.data(), sample.file.size(), image, false, stop), retro::kAborted)
        << sample.name;
  }
}

TEST(Hostile, Pic2CodedBlocksOutsizingTheCanvasOrOutOfRangeAreRefused) {
  const CodedPic2 good = GoodCodedPic2(false);
  retro::Image image;
  ASSERT_EQ(retro_samples::Decode(retro::Pic2Format(), good.file, image), retro::kOk);

  // A few bytes of code could ask for billions of pixels: refused before decoding.
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), OutsizedBlock(good), image), retro::kBroken);

  // Code cut short inside its block, and a block too short for its probabilities.
  for (uint32_t size : {26u + 256u + 2u, 26u + 100u})
    EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), CutBlock(good, size), image), retro::kBroken) << size;

  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), Depth16(good), image), retro::kUnknownFormat);
}

TEST(Hostile, Pic2RunLengthBlocksDamagedCutOrOversizedAreRefused) {
  const CodedPic2 good = GoodCodedPic2(true);
  retro::Image image;
  ASSERT_EQ(retro_samples::Decode(retro::Pic2Format(), good.file, image), retro::kOk);

  // Run numbers of endless ones, and a code that needs more bits than its block holds.
  std::vector<uint8_t> ones = good.file;
  std::fill(ones.begin() + good.block + 26, ones.end() - 8, 0xFF);
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), ones, image), retro::kBroken);
  const uint32_t lastByteGone = static_cast<uint32_t>(good.file.size() - 9 - good.block);
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), CutBlock(good, lastByteGone), image), retro::kBroken);

  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), OutsizedBlock(good), image), retro::kBroken);
  EXPECT_EQ(retro_samples::Decode(retro::Pic2Format(), Depth16(good), image), retro::kUnknownFormat);
}

// A fuzz finding: 45 bytes that describe a 9217 x 258 picture of one long
// run. Run-length coding makes this a sound picture, decoded in work tied to
// its size.
TEST(Hostile, TinyPicOfOneLongRunDecodes) {
  const std::vector<uint8_t> file = {
      0x50, 0x49, 0x43, 0x60, 0x40, 0x49, 0x43, 0x00, 0x00, 0x1A, 0x00, 0x00,
      0x00, 0x00, 0x0F, 0x24, 0x01, 0x01, 0x02, 0x02, 0x04, 0x00, 0x04, 0x02,
      0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0x49, 0x43, 0xFF, 0xFF, 0xFF, 0x18, 0xFF,
      0x00, 0x00, 0x0F, 0x24, 0xFF, 0x04, 0x20, 0x11, 0x00,
  };
  retro::Image image;
  ASSERT_EQ(retro_samples::Decode(retro::PicFormat(), file, image), retro::kOk);
  EXPECT_EQ(image.width, 9217);
  EXPECT_EQ(image.height, 258);
}
