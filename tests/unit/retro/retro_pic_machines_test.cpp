// PIC pictures of the machines besides the X68000: each machine type, mode
// and depth made by the test encoder and read back as a host would show it
// (size, colours, pixel aspect); modes no machine has, cut and oversized files.
#include <gtest/gtest.h>

#include "samples.h"

using namespace retro_test;
using retro_samples::Decode;
using retro_samples::ExpectSameIndexed;
using retro_samples::ExpectSameRgb;
using retro_samples::ShownSize;

namespace {

constexpr int kPc88va = 1, kFmTowns = 2, kMacintosh = 3, kGeneric = 15;

// A component of `bits` bits widened to 8 bits, as a viewer shows it.
uint32_t Wide(uint32_t value, int bits) {
  const uint32_t max = (1u << bits) - 1;
  return (value * 255 + max / 2) / max;
}

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b, int rBits, int gBits, int bBits) {
  return Wide(r, rBits) << 16 | Wide(g, gBits) << 8 | Wide(b, bBits);
}

// Codes of a pattern with every code different where the pattern differs.
std::vector<uint32_t> Codes(int width, int height, uint32_t mask) {
  const IndexedPicture shape = MakePattern(width, height, 256, 5);
  std::vector<uint32_t> codes;
  for (uint8_t v : shape.pixels) codes.push_back((v * 0x9E3779B1u >> 8) & mask);
  return codes;
}

// The 0x00RRGGBB of each code, green bits above red above blue (or red above green).
std::vector<uint32_t> Shown(const std::vector<uint32_t>& codes, int g, int r, int b, bool redFirst = false) {
  std::vector<uint32_t> rgb;
  for (uint32_t c : codes) {
    const uint32_t blue = c & ((1u << b) - 1);
    const uint32_t high = c >> b;
    const uint32_t lowBits = redFirst ? g : r;
    const uint32_t low = high & ((1u << lowBits) - 1), top = high >> lowBits;
    rgb.push_back(redFirst ? Rgb(top, low, blue, r, g, b) : Rgb(low, top, blue, r, g, b));
  }
  return rgb;
}

// The PC-88VA's fixed 256 colours: GGGRRRBB.
std::vector<uint32_t> Va256() {
  std::vector<uint32_t> palette;
  for (uint32_t c = 0; c < 256; ++c) palette.push_back(Rgb(c >> 2 & 7, c >> 5, c & 3, 3, 3, 2));
  return palette;
}

retro::Image Decoded(const std::vector<uint8_t>& file) {
  retro::Image image;
  EXPECT_EQ(Decode(retro::PicFormat(), file, image), retro::kOk);
  return image;
}

// A one-colour picture of a machine, read for its header only.
retro::Image HeaderOf(int machine, int mode, int depth, int width, int height) {
  PicMachine m{machine, mode, depth, depth, true, {}};
  if (machine == kPc88va && depth == 8) m.cached = false;
  std::vector<uint8_t> file = EncodePicCodes(width, height, std::vector<uint32_t>(width * height, 1), m);
  retro::Image image;
  EXPECT_EQ(retro::PicFormat().decode(file.data(), file.size(), image, true, nullptr), retro::kOk);
  return image;
}

}  // namespace

TEST(PicMachines, Pc88vaDirectColourDepths) {
  // 16 bits: GGGGGGRRRRRBBBBB; 12 bits: GGGGRRRRBBBB; both through the cache and chains.
  const std::vector<uint32_t> codes16 = Codes(64, 40, 0xFFFF);
  retro::Image image = Decoded(EncodePicCodes(64, 40, codes16, {kPc88va, 0, 16, 16, true, {}}, "VA"));
  EXPECT_EQ(image.depth, 16);
  EXPECT_EQ(image.comment, "VA");
  ExpectSameRgb(Shown(codes16, 6, 5, 5), image);
  const std::vector<uint32_t> primaries = {0xFC00, 0x03E0, 0x001F, 0xFFFF};
  ExpectSameRgb({0x00FF00, 0xFF0000, 0x0000FF, 0xFFFFFF},
                Decoded(EncodePicCodes(2, 2, primaries, {kPc88va, 0, 16, 16, true, {}})));

  const std::vector<uint32_t> codes12 = Codes(33, 21, 0xFFF);
  image = Decoded(EncodePicCodes(33, 21, codes12, {kPc88va, 1, 12, 12, true, {}}));
  EXPECT_EQ(image.depth, 12);
  ExpectSameRgb(Shown(codes12, 4, 4, 4), image);
}

TEST(PicMachines, Pc88va256ColoursUseTheFixedPalette) {
  IndexedPicture p = MakePattern(50, 30, 256, 8);
  p.palette = Va256();
  const std::vector<uint32_t> codes(p.pixels.begin(), p.pixels.end());
  const retro::Image image = Decoded(EncodePicCodes(50, 30, codes, {kPc88va, 0, 8, 8, false, {}}));
  ExpectSameIndexed(p, image);
  EXPECT_EQ(image.depth, 8);
  EXPECT_EQ(image.palette[0xE0], 0x00FF00u);  // green
  EXPECT_EQ(image.palette[0x1C], 0xFF0000u);  // red
  EXPECT_EQ(image.palette[0x03], 0x0000FFu);  // blue
}

// A 256-colour screen kept as 16-bit words: a coded line of 640 codes holds
// two screen lines of 640 pixels, so a 640 x 200 header gives 640 x 400.
TEST(PicMachines, Pc88vaTwoPixelCodesGiveTwoScreenLinesPerCodedLine) {
  IndexedPicture p = MakePattern(640, 400, 256, 12);
  p.palette = Va256();
  for (int x = 0; x < 640; ++x) p.pixels[640 + x] = static_cast<uint8_t>(x);  // line 1 unlike line 0
  const std::vector<uint8_t> file =
      EncodePicCodes(640, 200, PicPairs(640, 400, p.pixels), {kPc88va, 2, 16, 16, true, {}});
  const retro::Image image = Decoded(file);
  ExpectSameIndexed(p, image);
  EXPECT_EQ(image.depth, 16);
  EXPECT_EQ(ShownSize(image), std::make_pair(640L, 400L));

  // The fourth mode: two-pixel codes on a screen of pixels twice as tall.
  const retro::Image tall =
      Decoded(EncodePicCodes(640, 200, PicPairs(640, 400, p.pixels), {kPc88va, 3, 16, 16, true, {}}));
  EXPECT_EQ(tall.height, 400);
  EXPECT_EQ(ShownSize(tall), std::make_pair(640L, 800L));
}

TEST(PicMachines, Pc88vaPixelAspectFollowsTheScreen) {
  EXPECT_EQ(ShownSize(HeaderOf(kPc88va, 0, 16, 640, 400)), std::make_pair(640L, 400L));
  EXPECT_EQ(ShownSize(HeaderOf(kPc88va, 0, 16, 640, 200)), std::make_pair(640L, 400L));
  EXPECT_EQ(ShownSize(HeaderOf(kPc88va, 0, 8, 320, 200)), std::make_pair(320L, 200L));
  EXPECT_EQ(ShownSize(HeaderOf(kPc88va, 0, 12, 320, 400)), std::make_pair(640L, 400L));
  EXPECT_EQ(ShownSize(HeaderOf(kPc88va, 1, 16, 640, 400)), std::make_pair(640L, 800L));
  EXPECT_EQ(ShownSize(HeaderOf(kPc88va, 1, 16, 640, 200)), std::make_pair(640L, 800L));
}

TEST(PicMachines, FmTownsAndMacintoshFifteenBitColours) {
  const std::vector<uint32_t> codes = Codes(40, 25, 0x7FFF);
  for (int mode : {5, 12}) {  // low and high resolution
    const retro::Image towns = Decoded(EncodePicCodes(40, 25, codes, {kFmTowns, mode, 15, 15, true, {}}));
    ExpectSameRgb(Shown(codes, 5, 5, 5), towns);
    EXPECT_EQ(towns.xDensity, towns.yDensity);
  }
  // Red above green, and literal codes without the cache.
  const retro::Image mac = Decoded(EncodePicCodes(40, 25, codes, {kMacintosh, 0, 15, 15, false, {}}));
  ExpectSameRgb(Shown(codes, 5, 5, 5, true), mac);
  ExpectSameRgb({0xFF0000}, Decoded(EncodePicCodes(1, 1, {0x7C00}, {kMacintosh, 0, 15, 15, false, {}})));
}

TEST(PicMachines, GenericMachineDepthsPalettesAndAspect) {
  for (int depth : {4, 8}) {
    for (int bits : {3, 5, 8}) {
      IndexedPicture p = MakePattern(37, 19, 1 << depth, 3);
      const std::vector<uint32_t> full = retro_samples::Palette(1 << depth);
      for (uint32_t c : full)
        p.palette.push_back(
            Rgb((c >> 16) >> (8 - bits), (c >> 8 & 0xFF) >> (8 - bits), (c & 0xFF) >> (8 - bits), bits, bits, bits));
      const std::vector<uint32_t> indexes(p.pixels.begin(), p.pixels.end());
      const PicMachine m{kGeneric, 0, depth, depth, false, PicGenericFields(0, 0, bits, full)};
      ExpectSameIndexed(p, Decoded(EncodePicCodes(37, 19, indexes, m)));
    }
  }
  const std::vector<uint32_t> codes = Codes(30, 20, 0xFFFFFF);
  ExpectSameRgb(Shown(codes, 8, 8, 8),
                Decoded(EncodePicCodes(30, 20, codes, {kGeneric, 0, 24, 24, true, PicGenericFields(1, 1, 0, {})})));
  std::vector<uint32_t> masked;
  for (uint32_t c : codes) masked.push_back(c & 0xFFF);
  ExpectSameRgb(Shown(masked, 4, 4, 4),
                Decoded(EncodePicCodes(30, 20, masked, {kGeneric, 1, 12, 12, true, PicGenericFields(0, 0, 0, {})})));
  for (uint32_t& c : masked) c = c * 9 & 0x7FFF;
  ExpectSameRgb(Shown(masked, 5, 5, 5),
                Decoded(EncodePicCodes(30, 20, masked, {kGeneric, 0, 15, 15, true, PicGenericFields(0, 0, 0, {})})));
  // 16 bits are X68000 colour words.
  std::vector<uint32_t> words, x68k;
  for (uint16_t w : retro_samples::X68kPattern(30, 20, true)) words.push_back(w), x68k.push_back(X68kToRgb(w));
  ExpectSameRgb(x68k,
                Decoded(EncodePicCodes(30, 20, words, {kGeneric, 0, 16, 16, true, PicGenericFields(0, 0, 0, {})})));

  // The aspect fields: a pixel 2 tall and 1 wide; mode 15 requires them.
  const retro::Image tall =
      Decoded(EncodePicCodes(30, 20, codes, {kGeneric, 15, 24, 24, true, PicGenericFields(2, 1, 0, {})}));
  EXPECT_EQ(ShownSize(tall), std::make_pair(30L, 40L));
  retro::Image image;
  EXPECT_EQ(Decode(retro::PicFormat(),
                   EncodePicCodes(30, 20, codes, {kGeneric, 15, 24, 24, true, PicGenericFields(0, 1, 0, {})}), image),
            retro::kBroken);
}

TEST(PicMachines, ModesNoMachineHasAreUnknownAndDepthsItLacksBroken) {
  struct Case {
    int machine, mode, depth;
    retro::Status expected;
  };
  const Case cases[] = {
      {0, 1, 16, retro::kUnknownFormat},
      {kPc88va, 4, 16, retro::kUnknownFormat},
      {kFmTowns, 0, 15, retro::kUnknownFormat},
      {kGeneric, 2, 24, retro::kUnknownFormat},
      {4, 0, 16, retro::kUnknownFormat},
      {14, 0, 16, retro::kUnknownFormat},
      {kPc88va, 0, 4, retro::kBroken},
      {kPc88va, 2, 8, retro::kBroken},
      {kPc88va, 0, 15, retro::kBroken},
      {kFmTowns, 5, 16, retro::kBroken},
      {kMacintosh, 0, 16, retro::kBroken},
      {kGeneric, 0, 32, retro::kBroken},
      {0, 0, 12, retro::kBroken},
  };
  for (const Case& c : cases) {
    PicMachine m{c.machine, c.mode, c.depth, 8, false, {}};
    if (c.machine == kGeneric) m.extra = PicGenericFields(1, 1, 0, {});
    retro::Image image;
    EXPECT_EQ(Decode(retro::PicFormat(), EncodePicCodes(8, 4, std::vector<uint32_t>(32, 3), m), image), c.expected)
        << c.machine << "/" << c.mode << "/" << c.depth;
    EXPECT_TRUE(image.pixels.empty());
  }
}

TEST(PicMachines, CutAndOversizedFilesAreRefused) {
  const PicMachine generic8{kGeneric, 0, 8, 8, false, PicGenericFields(1, 1, 8, retro_samples::Palette(256))};
  const std::vector<uint8_t> file = EncodePicCodes(48, 20, Codes(48, 20, 0xFF), generic8);
  // The generic fields are bytes 13 to 19; the palette and the stream follow.
  const std::size_t stream = 20 + 3 * 256;
  for (std::size_t size :
       {std::size_t{16}, std::size_t{19}, std::size_t{300}, stream - 1, stream + 2, file.size() - 1}) {
    const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(size));
    retro::Image image;
    EXPECT_EQ(Decode(retro::PicFormat(), cut, image), retro::kBroken) << size;
  }

  // Sizes past the limits: the two-pixel codes double the height they name.
  const auto sized = [](int machine, int mode, int width, int height) {
    std::vector<uint8_t> f = EncodePicCodes(2, 2, {1, 1, 1, 1}, {machine, mode, 16, 16, true, {}});
    // "PIC", 0x1A, 0, reserved, machine and mode, depth, then width and height at 9 and 11.
    f[9] = static_cast<uint8_t>(width >> 8), f[10] = static_cast<uint8_t>(width);
    f[11] = static_cast<uint8_t>(height >> 8), f[12] = static_cast<uint8_t>(height);
    retro::Image image;
    return retro::PicFormat().decode(f.data(), f.size(), image, true, nullptr);
  };
  EXPECT_EQ(sized(kPc88va, 2, 0xFFFF, 0xFFFF), retro::kNoMemory);
  EXPECT_EQ(sized(kPc88va, 2, 1000, 20000), retro::kNoMemory) << "40000 lines shown";
  EXPECT_EQ(sized(kPc88va, 0, 1000, 20000), retro::kOk);
  EXPECT_EQ(sized(kPc88va, 2, 0, 200), retro::kBroken);
}
