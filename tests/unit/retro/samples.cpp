#include "samples.h"

#include <gtest/gtest.h>

namespace retro_samples {

std::vector<uint32_t> Palette(int colours) {
  std::vector<uint32_t> p;
  for (int i = 0; i < colours; ++i)
    p.push_back((static_cast<uint32_t>(i * 37 % 256) << 16) | (static_cast<uint32_t>(i * 91 % 256) << 8) |
                static_cast<uint32_t>(255 - i));
  return p;
}

std::vector<uint16_t> X68kPattern(int width, int height, bool withIntensity) {
  const retro_test::IndexedPicture shape = retro_test::MakePattern(width, height, 200, 7);
  std::vector<uint16_t> words;
  for (uint8_t v : shape.pixels) {
    const uint16_t g = v % 32, r = (v * 7) % 32, b = (v * 13) % 32;
    words.push_back(static_cast<uint16_t>(g << 11 | r << 6 | b << 1 | (withIntensity ? v & 1 : 0)));
  }
  return words;
}

std::vector<Sample> AllSamples() {
  using namespace retro_test;
  std::vector<Sample> all;
  IndexedPicture p16 = MakePattern(48, 32, 16, 1);
  p16.palette = Palette(16);
  IndexedPicture p256 = MakePattern(40, 24, 256, 2);
  p256.palette = Palette(256);
  all.push_back({"mag16", &retro::MagFormat(), EncodeMag(p16)});
  all.push_back({"mag256", &retro::MagFormat(), EncodeMag(p256)});
  all.push_back({"pi4", &retro::PiFormat(), EncodePi(p16)});
  all.push_back({"pi8", &retro::PiFormat(), EncodePi(p256)});
  std::vector<uint16_t> pal(16);
  for (int i = 0; i < 16; ++i) pal[i] = static_cast<uint16_t>(i * 0x1111);
  all.push_back({"pic4", &retro::PicFormat(), EncodePicIndexed(48, 32, p16.pixels, pal, 4)});
  all.push_back({"pic16", &retro::PicFormat(), EncodePicDirect(32, 24, X68kPattern(32, 24, true), 16)});
  const PicMachine vaPairs{1, 2, 16, 16, true, {}};
  all.push_back({"pic88va", &retro::PicFormat(), EncodePicCodes(40, 12, PicPairs(40, 24, p256.pixels), vaPairs)});
  const PicMachine generic4{15, 0, 4, 4, false, PicGenericFields(2, 1, 6, p16.palette)};
  const std::vector<uint32_t> indexes16(p16.pixels.begin(), p16.pixels.end());
  all.push_back({"picgeneric", &retro::PicFormat(), EncodePicCodes(48, 32, indexes16, generic4)});
  std::vector<uint32_t> rgb;
  for (uint8_t v : p16.pixels) rgb.push_back(p16.palette[v]);
  Pic2Options two;
  two.twoBlocks = true;
  all.push_back({"pic2", &retro::Pic2Format(), EncodePic2(48, 32, rgb, two)});
  Pic2Options coded;
  coded.compressed = true;
  coded.twoBlocks = true;
  all.push_back({"pic2ss", &retro::Pic2Format(), EncodePic2(48, 32, rgb, coded)});
  Pic2Options runs = coded;
  runs.runLength = true;
  all.push_back({"pic2sf", &retro::Pic2Format(), EncodePic2(48, 32, rgb, runs)});
  IndexedPicture q = MakePattern(640, 400, 16, 3);
  for (std::size_t i = 300 * 640; i < q.pixels.size(); ++i) q.pixels[i] = static_cast<uint8_t>((i / 640 + i % 640 / 10) % 16);
  Xld4Palette levels{};
  for (int i = 0; i < 16; ++i) levels.r[i] = levels.g[i] = levels.b[i] = static_cast<uint8_t>(i);
  all.push_back({"xld4", &retro::Xld4Format(), EncodeXld4(q.pixels, levels)});
  return all;
}

void ExpectSameIndexed(const retro_test::IndexedPicture& expected, const retro::Image& got) {
  ASSERT_EQ(got.width, expected.width);
  ASSERT_EQ(got.height, expected.height);
  EXPECT_TRUE(got.indexed);
  EXPECT_EQ(got.palette, expected.palette);
  ASSERT_EQ(got.pixels.size(), expected.pixels.size());
  for (std::size_t i = 0; i < got.pixels.size(); ++i)
    ASSERT_EQ(got.pixels[i], expected.pixels[i]) << "pixel " << i % got.width << "," << i / got.width;
}

void ExpectSameRgb(const std::vector<uint32_t>& expected, const retro::Image& got) {
  EXPECT_FALSE(got.indexed);
  ASSERT_EQ(got.pixels.size(), expected.size() * 3);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const uint32_t c = uint32_t{got.pixels[i * 3 + 2]} << 16 | uint32_t{got.pixels[i * 3 + 1]} << 8 | got.pixels[i * 3];
    ASSERT_EQ(c, expected[i]) << "pixel " << i % got.width << "," << i / got.width;
  }
}

std::pair<long, long> ShownSize(const retro::Image& image) {
  long w = image.width, h = image.height;
  if (image.xDensity < image.yDensity) w = w * image.yDensity / image.xDensity;
  else h = h * image.xDensity / image.yDensity;
  return {w, h};
}

retro::Status Decode(const retro::Format& format, const std::vector<uint8_t>& file, retro::Image& out) {
  return format.decode(file.data(), file.size(), out, false, nullptr);
}

}  // namespace retro_samples
