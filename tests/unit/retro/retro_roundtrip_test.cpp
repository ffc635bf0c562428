// Encode a known pixel grid, decode it, and compare what a host would show:
// size, depth, palette, pixels, pixel densities and comment.
#include <gtest/gtest.h>

#include <algorithm>

#include "samples.h"
#include "support/noise.h"

using namespace retro_test;
using retro_samples::Decode;
using retro_samples::ExpectSameIndexed;
using retro_samples::ExpectSameRgb;
using retro_samples::ShownSize;
using retro_samples::Palette;

namespace {

IndexedPicture Pattern(int width, int height, int colours, uint32_t seed) {
  IndexedPicture p = MakePattern(width, height, colours, seed);
  p.palette = Palette(colours);
  return p;
}

}  // namespace

TEST(Mag, SixteenAndTwoFiftySixColoursRoundTrip) {
  for (int colours : {16, 256}) {
    const IndexedPicture p = Pattern(64, 40, colours, 5);
    MagOptions options;
    options.comment = "テスト comment";
    const std::vector<uint8_t> file = EncodeMag(p, options);
    // Copies and flag runs make the regular picture smaller than its raw bytes.
    EXPECT_LT(file.size(), p.pixels.size() * (colours == 16 ? 1 : 2) / 2 + colours * 3 + 200);
    retro::Image image;
    ASSERT_EQ(Decode(retro::MagFormat(), file, image), retro::kOk) << colours;
    ExpectSameIndexed(p, image);
    EXPECT_EQ(image.depth, colours == 16 ? 4 : 8);
    EXPECT_EQ(image.comment, "テスト comment");
    EXPECT_EQ(ShownSize(image), std::make_pair(64L, 40L));
  }
}

TEST(Mag, UnalignedLeftEdgeAndOddWidthAreCropped) {
  const IndexedPicture p = Pattern(37, 9, 16, 6);
  MagOptions options;
  options.left = 3;
  retro::Image image;
  ASSERT_EQ(Decode(retro::MagFormat(), EncodeMag(p, options), image), retro::kOk);
  ExpectSameIndexed(p, image);
}

TEST(Mag, TwoHundredLinePicturesAreShownTwiceAsTall) {
  const IndexedPicture p = Pattern(64, 20, 16, 7);
  MagOptions options;
  options.lines200 = true;
  retro::Image image;
  ASSERT_EQ(Decode(retro::MagFormat(), EncodeMag(p, options), image), retro::kOk);
  ExpectSameIndexed(p, image);
  EXPECT_EQ(image.xDensity, 2);
  EXPECT_EQ(image.yDensity, 1);
  EXPECT_EQ(ShownSize(image), std::make_pair(64L, 40L));
}

TEST(Pi, FourAndEightPlanesRoundTrip) {
  for (int colours : {16, 256}) {
    for (int width : {64, 33, 1}) {
      const IndexedPicture p = Pattern(width, 30, colours, static_cast<uint32_t>(width));
      PiOptions options;
      options.comment = "pi";
      retro::Image image;
      ASSERT_EQ(Decode(retro::PiFormat(), EncodePi(p, options), image), retro::kOk) << colours << " " << width;
      ExpectSameIndexed(p, image);
      EXPECT_EQ(image.depth, colours == 16 ? 4 : 8);
      EXPECT_EQ(image.comment, "pi");
    }
  }
}

TEST(Pi, AspectAndDefaultPalette) {
  IndexedPicture p = Pattern(32, 16, 16, 9);
  PiOptions options;
  options.aspectN = 2;  // pixels twice as tall as wide
  options.aspectM = 1;
  options.omitPalette = true;
  retro::Image image;
  ASSERT_EQ(Decode(retro::PiFormat(), EncodePi(p, options), image), retro::kOk);
  EXPECT_EQ(image.palette.size(), 16u);
  EXPECT_EQ(image.palette[0], 0u);
  EXPECT_EQ(image.palette[15], 0xFFFFFFu);
  p.palette = image.palette;
  ExpectSameIndexed(p, image);
  EXPECT_EQ(ShownSize(image), std::make_pair(32L, 32L));
}

TEST(Pic, PaletteDepthsRoundTrip) {
  for (int depth : {4, 8}) {
    const int colours = 1 << depth;
    IndexedPicture p = MakePattern(50, 31, colours, 11);
    std::vector<uint16_t> words;
    for (int i = 0; i < colours; ++i) words.push_back(static_cast<uint16_t>(i * 251 + 1));
    for (uint16_t w : words) p.palette.push_back(X68kToRgb(w));
    retro::Image image;
    ASSERT_EQ(Decode(retro::PicFormat(), EncodePicIndexed(50, 31, p.pixels, words, depth, "x68k"), image), retro::kOk);
    ExpectSameIndexed(p, image);
    EXPECT_EQ(image.depth, depth);
    EXPECT_EQ(image.comment, "x68k");
    EXPECT_EQ(image.xDensity, image.yDensity);
  }
}

TEST(Pic, DirectColourDepthsRoundTripThroughCacheAndChains) {
  for (int depth : {15, 16}) {
    const std::vector<uint16_t> words = retro_samples::X68kPattern(45, 37, depth == 16);
    std::vector<uint32_t> rgb;
    for (uint16_t w : words) rgb.push_back(X68kToRgb(w));
    retro::Image image;
    ASSERT_EQ(Decode(retro::PicFormat(), EncodePicDirect(45, 37, words, depth), image), retro::kOk) << depth;
    EXPECT_EQ(image.depth, depth);
    ExpectSameRgb(rgb, image);
  }
}

TEST(Pic, ColourIntensityBitLightensEveryComponent) {
  EXPECT_EQ(X68kToRgb(0xFFFF), 0xFFFFFFu);
  EXPECT_EQ(X68kToRgb(0xFFFE), 0xFBFBFBu);
  EXPECT_EQ(X68kToRgb(0x0001), 0x040404u);
  const std::vector<uint16_t> words(4, 0x07C1);  // red 31, intensity
  retro::Image image;
  ASSERT_EQ(Decode(retro::PicFormat(), EncodePicDirect(2, 2, words, 16), image), retro::kOk);
  EXPECT_EQ(image.pixels[0], 0x04);  // blue
  EXPECT_EQ(image.pixels[1], 0x04);  // green
  EXPECT_EQ(image.pixels[2], 0xFF);  // red
}

TEST(Pic2, RawBlocksRoundTrip) {
  const IndexedPicture shape = MakePattern(40, 30, 256, 12);
  std::vector<uint32_t> rgb24, x68k, expected15;
  for (uint8_t v : shape.pixels) {
    rgb24.push_back(uint32_t{v} << 16 | uint32_t(255 - v) << 8 | uint32_t(v * 3 % 256));
    const uint16_t w = static_cast<uint16_t>((v % 32) << 11 | (v * 5 % 32) << 6 | (v * 9 % 32) << 1);
    x68k.push_back(w);
    const auto c5 = [](uint32_t f) { return (f * 255 + 15) / 31; };
    expected15.push_back(c5(v * 5 % 32) << 16 | c5(v % 32) << 8 | c5(v * 9 % 32));
  }
  Pic2Options o24;
  o24.title = "PIC2 title";
  retro::Image image;
  ASSERT_EQ(Decode(retro::Pic2Format(), EncodePic2(40, 30, rgb24, o24), image), retro::kOk);
  EXPECT_EQ(image.depth, 24);
  EXPECT_NE(image.comment.find("PIC2 title"), std::string::npos);
  ExpectSameRgb(rgb24, image);

  for (bool little : {false, true}) {
    Pic2Options o15;
    o15.depth = 15;
    o15.littleEndian = little;
    o15.twoBlocks = true;
    ASSERT_EQ(Decode(retro::Pic2Format(), EncodePic2(40, 30, x68k, o15), image), retro::kOk);
    ExpectSameRgb(expected15, image);
  }
}

TEST(Pic2, KeyColourLeavesCanvasAndAspectStretches) {
  std::vector<uint32_t> rgb(20 * 10, 0x102030);
  rgb[7 * 20 + 4] = 0xABCDEF;
  Pic2Options o;
  o.twoBlocks = true;
  o.keyedSecondBlock = true;
  o.key = 0x102030;
  o.xAspect = 3;  // pixels 3 wide, 2 tall
  o.yAspect = 2;
  retro::Image image;
  ASSERT_EQ(Decode(retro::Pic2Format(), EncodePic2(20, 10, rgb, o), image), retro::kOk);
  EXPECT_EQ(image.pixels[(2 * 20 + 1) * 3], 0x30);      // upper block drawn
  EXPECT_EQ(image.pixels[(7 * 20 + 1) * 3], 0x00);      // key colour: canvas stays black
  EXPECT_EQ(image.pixels[(7 * 20 + 4) * 3 + 2], 0xAB);  // other colours of the keyed block drawn
  EXPECT_EQ(ShownSize(image), std::make_pair(30L, 10L));
}

// Values of R, G, B with `bits` bits each for a pattern of `colours` shapes
// (with noise rows), and the 0x00RRGGBB a viewer should show for them.
void CodedPattern(int width, int height, int bits, std::vector<uint32_t>& values, std::vector<uint32_t>& shown) {
  const IndexedPicture shape = MakePattern(width, height, 256, 21);
  const uint32_t max = (1u << bits) - 1;
  const auto wide = [&](uint32_t v) { return (v * 255 + max / 2) / max; };
  values.clear();
  shown.clear();
  for (uint8_t v : shape.pixels) {
    const uint32_t r = v * 7u % (max + 1), g = (255u - v) % (max + 1), b = v / 3u % (max + 1);
    values.push_back(r << (2 * bits) | g << bits | b);
    shown.push_back(wide(r) << 16 | wide(g) << 8 | wide(b));
  }
}

// Both coded block kinds at every depth: the colours come back as a viewer
// shows them, and a 24-bit picture packs well under the raw 3 bytes a pixel.
void CodedBlocksRoundTripAtEveryDepth(bool runLength) {
  for (int depth : {24, 21, 18, 15, 12, 9, 6, 3}) {
    std::vector<uint32_t> values, shown;
    CodedPattern(64, 48, depth / 3, values, shown);
    Pic2Options o;
    o.depth = depth;
    o.compressed = true;
    o.runLength = runLength;
    const std::vector<uint8_t> file = EncodePic2(64, 48, values, o);
    retro::Image image;
    ASSERT_EQ(Decode(retro::Pic2Format(), file, image), retro::kOk) << depth;
    EXPECT_EQ(image.depth, depth);
    ExpectSameRgb(shown, image);
    if (depth == 24) {
      EXPECT_LT(file.size(), 64u * 48 * 3 / 2);
    }
  }
}

struct SizeCase { int width, height; uint32_t seed; int noisePercent; };

// Flat, noisy, thin and one-pixel pictures through a coded block kind.
void CodedBlocksOfSizes(bool runLength, std::initializer_list<SizeCase> cases) {
  for (const SizeCase c : cases) {
    const std::vector<uint32_t> values =
        test_noise::NoisyColours(c.width * c.height, c.seed, c.noisePercent, 0x336699);
    Pic2Options o;
    o.compressed = true;
    o.runLength = runLength;
    retro::Image image;
    ASSERT_EQ(Decode(retro::Pic2Format(), EncodePic2(c.width, c.height, values, o), image), retro::kOk)
        << c.width << "x" << c.height;
    ExpectSameRgb(values, image);
  }
}

// Two coded blocks of a kind: the lower one stacks on the upper, and its
// key colour leaves the canvas (black) showing.
void CodedBlocksStackAndKeepTheKeyColour(bool runLength) {
  std::vector<uint32_t> values(30 * 20, 0x102030);
  for (int x = 5; x < 25; ++x) values[12 * 30 + x] = 0xFF8000;  // a stripe in the lower block
  Pic2Options o;
  o.compressed = true;
  o.runLength = runLength;
  o.twoBlocks = true;
  o.keyedSecondBlock = true;
  o.key = 0x102030;
  retro::Image image;
  ASSERT_EQ(Decode(retro::Pic2Format(), EncodePic2(30, 20, values, o), image), retro::kOk);
  std::vector<uint32_t> shown(values.size(), 0);
  for (std::size_t i = 0; i < values.size(); ++i)
    if (i < 30 * 10 || values[i] != o.key) shown[i] = values[i];
  ExpectSameRgb(shown, image);
}

// Chains and caches.
TEST(Pic2, ArithmeticBlocksRoundTripAtEveryDepth) { CodedBlocksRoundTripAtEveryDepth(false); }

TEST(Pic2, ArithmeticBlocksOfFlatNoisyAndOnePixelPictures) {
  CodedBlocksOfSizes(false, {{1, 1, 1, 0}, {1, 40, 2, 50}, {40, 1, 3, 50}, {33, 17, 4, 0},
                             {50, 30, 5, 100}, {200, 3, 6, 30}});
}

TEST(Pic2, ArithmeticBlocksStackAndKeepTheKeyColour) { CodedBlocksStackAndKeepTheKeyColour(false); }

// Runs, chains and caches.
TEST(Pic2, RunLengthBlocksRoundTripAtEveryDepth) { CodedBlocksRoundTripAtEveryDepth(true); }

TEST(Pic2, RunLengthBlocksOfFlatNoisyTallAndOnePixelPictures) {
  // 64 x 40 flat: one run of 2559; 200 x 3 noisy: cache misses and hits.
  CodedBlocksOfSizes(true, {{1, 1, 1, 0}, {1, 40, 2, 50}, {40, 1, 3, 50}, {64, 40, 4, 0},
                            {50, 30, 5, 100}, {200, 3, 6, 30}});
  // A stripe down a tall picture: its edges are only chain pixels for
  // hundreds of rows, so the "1023 chain pixels" number is used, and a wavy
  // stretch of its left edge uses every chain direction.
  const int width = 16, height = 1200;
  const int wave[7] = {0, 2, 1, 0, -2, -1, 0};
  std::vector<uint32_t> values(width * height, 0x204060);
  for (int y = 0; y < height; ++y) {
    const int left = 5 + (y / 300 == 1 ? wave[y % 7] : 0);
    for (int x = left; x < 9; ++x) values[y * width + x] = 0xC0FFEE;
  }
  Pic2Options o;
  o.compressed = true;
  o.runLength = true;
  const std::vector<uint8_t> file = EncodePic2(width, height, values, o);
  retro::Image image;
  ASSERT_EQ(Decode(retro::Pic2Format(), file, image), retro::kOk);
  ExpectSameRgb(values, image);
  EXPECT_LT(file.size(), 200u + 2u * height);  // a few bits a row
}

TEST(Pic2, RunLengthBlocksStackAndKeepTheKeyColour) { CodedBlocksStackAndKeepTheKeyColour(true); }

// Bits given as '0'/'1' characters (others ignored), packed MSB first.
std::vector<uint8_t> PackBits(const std::string& text) {
  std::vector<uint8_t> out;
  int filled = 0;
  for (char c : text) {
    if (c != '0' && c != '1') continue;
    if (filled % 8 == 0) out.push_back(0);
    if (c == '1') out.back() |= static_cast<uint8_t>(0x80 >> (filled % 8));
    ++filled;
  }
  return out;
}

std::string Bits(uint32_t value, int count) {
  std::string s;
  for (int i = count - 1; i >= 0; --i) s += ((value >> i) & 1) ? '1' : '0';
  return s;
}

TEST(Pic2, RunLengthBlockWrittenByHandFromTheFormat) {
  // 4 x 2 at 24 bits: A B A B over A B B B. New colours are written G, R, B.
  const uint32_t a = 0x112233, b = 0x445566;
  const std::string A = Bits(0x221133, 24), B = Bits(0x554466, 24);
  const std::string exact =
      "0" "0" + A + "11" +         // (0,0): run 0; A, not cached; chain straight down to (0,1)
      "0" "0" + B + "11" +         // (1,0): run 0; B, not in the cache of left A; chain down to (1,1)
      "0" "0" + A + "0" +          // (2,0): run 0; A, not in the cache of left B; no chain
      "0" "1" "000000" "0" +       // (3,0): run 0; B from the front of left A's cache; no chain
      "101" +                      // run 2: (2,1) and (3,1) repeat B
      "0" "0";                     // chains of (0,1) and (1,1) end (last row)
  const std::vector<uint32_t> values = {a, b, a, b, a, b, b, b};
  Pic2Options o;
  o.compressed = true;
  o.runLength = true;
  std::vector<uint8_t> file = EncodePic2(4, 2, values, o);
  const std::size_t block = 124 + std::string("made by retro_encoders").size() + 1;
  const std::vector<uint8_t> hand = PackBits(exact);
  const std::vector<uint8_t> written(file.begin() + block + 26, file.end() - 8);
  ASSERT_EQ(std::string(file.begin() + block, file.begin() + block + 4), "P2SF");
  ASSERT_EQ(written.size(), hand.size());
  std::copy(hand.begin(), hand.end(), file.begin() + block + 26);  // decode the hand-made bits
  retro::Image image;
  ASSERT_EQ(Decode(retro::Pic2Format(), file, image), retro::kOk);
  ExpectSameRgb(values, image);
  EXPECT_EQ(written, hand);  // and the test writer writes the same bits
}

TEST(Xld4, DictionaryCodedPictureRoundTrips) {
  IndexedPicture p = MakePattern(640, 400, 16, 13);
  for (std::size_t i = 300 * 640; i < p.pixels.size(); ++i) p.pixels[i] = static_cast<uint8_t>((i * 7 / 640 + i % 13) % 16);
  Xld4Palette levels{};
  p.palette.assign(16, 0);
  for (int i = 0; i < 16; ++i) {
    levels.r[i] = static_cast<uint8_t>(i);
    levels.g[i] = static_cast<uint8_t>(15 - i);
    levels.b[i] = static_cast<uint8_t>(i / 2);
    p.palette[i] = uint32_t(i * 17) << 16 | uint32_t((15 - i) * 17) << 8 | uint32_t(i / 2 * 17);
  }
  const std::vector<uint8_t> file = EncodeXld4(p.pixels, levels);
  retro::Image image;
  ASSERT_EQ(Decode(retro::Xld4Format(), file, image), retro::kOk);
  EXPECT_EQ(image.depth, 4);
  ExpectSameIndexed(p, image);
}

TEST(AllFormats, HeaderOnlyGivesSizeWithoutPixels) {
  for (const auto& sample : retro_samples::AllSamples()) {
    retro::Image full, header;
    ASSERT_EQ(Decode(*sample.format, sample.file, full), retro::kOk) << sample.name;
    ASSERT_EQ(sample.format->decode(sample.file.data(), sample.file.size(), header, true, nullptr), retro::kOk)
        << sample.name;
    EXPECT_EQ(header.width, full.width) << sample.name;
    EXPECT_EQ(header.height, full.height) << sample.name;
    EXPECT_EQ(header.depth, full.depth) << sample.name;
    EXPECT_EQ(header.xDensity, full.xDensity) << sample.name;
    EXPECT_EQ(header.comment, full.comment) << sample.name;
    EXPECT_TRUE(header.pixels.empty()) << sample.name;
  }
}

TEST(AllFormats, TableNamesFiltersAndSniffing) {
  const retro::Format* formats[] = {&retro::MagFormat(), &retro::PiFormat(), &retro::PicFormat(),
                                    &retro::Pic2Format(), &retro::Xld4Format()};
  const char* filters[] = {"*.mag", "*.pi", "*.pic", "*.p2", "*.q4"};
  const char* names[] = {"MAG", "PI", "PIC", "PIC2", "XLD4"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_STREQ(formats[i]->filter, filters[i]);
    EXPECT_STREQ(formats[i]->name, names[i]);
  }
  // Each sample is claimed by its own format only (sniffing a zero-padded 2 KB head).
  for (const auto& sample : retro_samples::AllSamples()) {
    std::vector<uint8_t> head(2048, 0);
    std::copy_n(sample.file.begin(), std::min<std::size_t>(2048, sample.file.size()), head.begin());
    for (const retro::Format* f : formats)
      EXPECT_EQ(f->sniff(head.data(), head.size()), f == sample.format) << sample.name << " by " << f->name;
  }
}
