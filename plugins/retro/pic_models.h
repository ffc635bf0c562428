// The machines that wrote PIC pictures. The header byte after the reserved
// byte names a machine type (low nibble) and a mode of that machine (high
// nibble); with the depth they decide how a colour code is read from the
// stream, what colour it stands for, the picture's shape and its pixel aspect.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitreader.h"
#include "image.h"

namespace retro::detail {

// How the bits of a direct colour code split into components, from the most
// significant end: green, red, blue (or red, green, blue).
struct ComponentLayout {
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t blue = 0;
  bool redFirst = false;
};

enum class PicColours {
  kX68k,        // X68000 colour words GGGGGRRRRRBBBBBI (15-bit codes lack the I bit)
  kComponents,  // direct colours in `layout`
  kPalette,     // indexes into the palette the file carries
  kFixed256,    // GGGRRRBB codes shown through a fixed palette of all 256 colours
};

enum class PicPalette { kNone, kX68kWords, kComponentBits };

struct PicModel {
  int codeBits = 0;     // bits of a literal colour code in the stream
  bool cached = false;  // literal codes pass through the 128-entry recent-colour cache
  // Each 16-bit code holds two GGGRRRBB pixels side by side, the left one in
  // the low byte: a coded line then holds two lines of the picture.
  bool pairs = false;
  PicColours colours = PicColours::kX68k;
  ComponentLayout layout;
  PicPalette palette = PicPalette::kNone;
  int paletteBits = 0;  // component bits of a kComponentBits palette entry
  int codedWidth = 0;  // codes a coded line, as the header gives it
  int codedHeight = 0;
  std::size_t extraFields = 0;  // header bytes after the height (the generic machine's)
  std::size_t body = 0;         // where the palette or the stream starts
};

// Reads the header fields that follow the reserved byte at `at` (type and mode,
// depth, width, height and the generic machine's extra fields), fills the
// image's header fields and the model. Types and modes that no machine
// describes give kUnknownFormat; a depth the machine does not have, kBroken.
Status readPicModel(const uint8_t* data, std::size_t size, std::size_t at, Image& out, PicModel& model);

// The palette (for kPalette and kFixed256 models) into out.palette; reads the
// file's palette from `bits`, which starts at model.body.
Status readPicPalette(BitReader& bits, const PicModel& model, Image& out);

// The 0x00RRGGBB colour of a direct colour code.
uint32_t picDirectColour(uint32_t code, const PicModel& model);

}  // namespace retro::detail
