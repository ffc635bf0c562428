// Writers of MAG, Pi, X68000 PIC, PIC2 and XLD4 files built byte by byte from
// a known pixel grid, for tests of the decoders, the plug-ins and the picture
// component. They use the real coding paths (copies, colour lists, caches,
// chains, run lengths, dictionary codes) but do not search hard for the smallest file.
// No test framework here: any test program may link this file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace retro_test {

// Palette pictures: one index per pixel, top-down rows; palette 0x00RRGGBB.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> palette;
};

// A picture with blocks, stripes and noise, so that every kind of copy and
// literal shows up. Colours are 0..colours-1; the palette is left empty.
IndexedPicture MakePattern(int width, int height, int colours, uint32_t seed);

struct MagOptions {
  bool lines200 = false;  // screen mode bit 0: pixels twice as tall as wide
  int left = 0;           // x of the first pixel (need not be aligned)
  std::string comment;
};
// 16 or 256 colours, taken from the palette size.
std::vector<uint8_t> EncodeMag(const IndexedPicture& picture, const MagOptions& options = {});

struct PiOptions {
  int aspectN = 0, aspectM = 0;  // n/m: pixel height over width; 0 = square
  bool omitPalette = false;      // mode bit 7: the reader uses its default palette
  std::string comment;
};
// 4 or 8 planes, taken from the palette size.
std::vector<uint8_t> EncodePi(const IndexedPicture& picture, const PiOptions& options = {});

// X68000 colour words GGGGGRRRRRBBBBBI and their 0x00RRGGBB value.
uint32_t X68kToRgb(uint16_t colour);

// PIC, depth 4 or 8: indexes into a palette of X68000 colour words.
std::vector<uint8_t> EncodePicIndexed(int width, int height, const std::vector<uint8_t>& indexes,
                                      const std::vector<uint16_t>& palette, int depth,
                                      const std::string& comment = {});
// PIC, depth 15 or 16: one X68000 colour word per pixel (depth 15 drops the I bit).
std::vector<uint8_t> EncodePicDirect(int width, int height, const std::vector<uint16_t>& colours, int depth,
                                     const std::string& comment = {});

// PIC of any machine: the header's machine type and mode, the depth it
// names, how codes are written, and the bytes between the height and the
// stream (the generic machine's fields, palettes).
struct PicMachine {
  int machine = 0;
  int mode = 0;
  int depth = 16;
  int codeBits = 16;
  bool cached = true;
  std::vector<uint8_t> extra;
};
// `codes`: one colour code per coded pixel, width x height, in the machine's layout.
std::vector<uint8_t> EncodePicCodes(int width, int height, const std::vector<uint32_t>& codes, const PicMachine& m,
                                    const std::string& comment = {});
// The generic machine's header fields after the height: position 0, 0, the
// pixel's height and width, and for palette depths the component bits and
// the palette (0x00RRGGBB entries cut to their top `paletteBits` bits, each
// written green, red, blue); paletteBits 0 writes no palette.
std::vector<uint8_t> PicGenericFields(int pixelHeight, int pixelWidth, int paletteBits,
                                     const std::vector<uint32_t>& palette);
// A PC-88VA 256-colour screen as 16-bit codes of two pixels side by side,
// the left one in the low byte: width x height pixels give width / 2 x height codes.
std::vector<uint32_t> PicPairs(int width, int height, const std::vector<uint8_t>& pixels);

struct Pic2Options {
  int depth = 24;            // 24: R, G, B bytes; 15 or 16: X68000 colour words
  bool littleEndian = false; // "P2BI" blocks instead of "P2BM"
  // "P2SS" arithmetic-coded blocks instead of raw ones; values are then R, G, B
  // of depth/3 bits each (R at the top) for any depth divisible by 3.
  bool compressed = false;
  bool runLength = false;    // with `compressed`: "P2SF" run-length blocks instead
  int xAspect = 1, yAspect = 1;
  bool twoBlocks = false;    // upper and lower half in separate blocks
  bool keyedSecondBlock = false;  // second block marks value `key` as transparent
  uint32_t key = 0;
  std::string title;
};
// `values` holds one raw value per pixel in the depth's layout (see Pic2Options).
std::vector<uint8_t> EncodePic2(int width, int height, const std::vector<uint32_t>& values,
                                const Pic2Options& options = {});

// XLD4: 640 x 400, 16 colours; palette levels are 0..15 per component.
struct Xld4Palette {
  uint8_t r[16], g[16], b[16];
};
std::vector<uint8_t> EncodeXld4(const std::vector<uint8_t>& indexes, const Xld4Palette& palette);

}  // namespace retro_test
