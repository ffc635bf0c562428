#include "pic_models.h"

#include "Checked.h"
#include "common.h"

namespace retro::detail {
namespace {

enum Machine { kX68000 = 0, kPc88va = 1, kFmTowns = 2, kMacintosh = 3, kGeneric = 15 };

// PC-88VA modes are two flags.
constexpr int kVaTallPixels = 1;  // the screen's pixels are twice as tall again
constexpr int kVaPairs = 2;       // a 256-colour screen kept as 16-bit words of two pixels

constexpr ComponentLayout kGrb(uint8_t g, uint8_t r, uint8_t b) { return {g, r, b, false}; }

// Literal codes `bits` wide whose colours are read as `colours`.
PicModel coded(int bits, bool cached, PicColours colours) {
  PicModel m;
  m.codeBits = bits;
  m.cached = cached;
  m.colours = colours;
  return m;
}

PicModel direct(int bits, bool cached, ComponentLayout layout) {
  PicModel m = coded(bits, cached, PicColours::kComponents);
  m.layout = layout;
  return m;
}

PicModel x68kWords(int bits) { return coded(bits, true, PicColours::kX68k); }

PicModel palette(int bits, PicPalette kind) {
  PicModel m = coded(bits, false, PicColours::kPalette);
  m.palette = kind;
  return m;
}

// GGGRRRBB codes; `pairs`: two of them a 16-bit code.
PicModel fixed256(bool pairs) {
  PicModel m = coded(pairs ? 16 : 8, pairs, PicColours::kFixed256);
  m.pairs = pairs;
  return m;
}

Status x68000(int mode, int depth, PicModel& m) {
  if (mode != 0) return kUnknownFormat;
  if (depth == 4 || depth == 8) m = palette(depth, PicPalette::kX68kWords);
  else if (depth == 15 || depth == 16) m = x68kWords(depth);
  else return kBroken;
  return kOk;
}

Status pc88va(int mode, int depth, PicModel& m) {
  if (mode > (kVaTallPixels | kVaPairs)) return kUnknownFormat;
  if (mode & kVaPairs) {
    if (depth != 16) return kBroken;
    m = fixed256(true);
  } else if (depth == 8) {
    m = fixed256(false);
  } else if (depth == 12) {
    m = direct(12, true, kGrb(4, 4, 4));
  } else if (depth == 16) {
    m = direct(16, true, kGrb(6, 5, 5));
  } else {
    return kBroken;
  }
  return kOk;
}

Status fmTowns(int mode, int depth, PicModel& m) {
  if (mode != 5 && mode != 12) return kUnknownFormat;  // low and high resolution
  if (depth != 15) return kBroken;
  m = direct(15, true, kGrb(5, 5, 5));
  return kOk;
}

Status macintosh(int depth, PicModel& m) {
  if (depth != 15) return kBroken;
  m = direct(15, false, ComponentLayout{5, 5, 5, true});
  return kOk;
}

Status generic(int depth, int paletteBits, PicModel& m) {
  switch (depth) {
    case 4:
    case 8:
      if (paletteBits < 1 || paletteBits > 8) return kBroken;
      m = palette(depth, PicPalette::kComponentBits);
      m.paletteBits = paletteBits;
      return kOk;
    case 12: m = direct(12, true, kGrb(4, 4, 4)); return kOk;
    case 15: m = direct(15, true, kGrb(5, 5, 5)); return kOk;
    case 16: m = x68kWords(16); return kOk;
    case 24: m = direct(24, true, kGrb(8, 8, 8)); return kOk;
    default: return kBroken;
  }
}

// The generic machine's fields after the height (`h` is the header, `left`
// bytes long): x and y position, the pixel's height and width, and for palette
// depths the component bits of a palette entry.
Status genericFields(const uint8_t* h, std::size_t left, int mode, int depth, PicModel& m, uint32_t& pixelWidth,
                     uint32_t& pixelHeight) {
  if (mode != 0 && mode != 1 && mode != 15) return kUnknownFormat;
  const bool hasPalette = depth == 4 || depth == 8;
  const std::size_t fields = hasPalette ? 7 : 6;
  if (!checked::InRange(8, fields, left)) return kBroken;
  pixelHeight = h[12];
  pixelWidth = h[13];
  if (mode == 15 && (pixelWidth == 0 || pixelHeight == 0)) return kBroken;  // mode 15 is a given aspect
  if (Status s = generic(depth, hasPalette ? h[14] : 0, m); s != kOk) return s;
  m.extraFields = fields;
  return kOk;
}

// PC-88VA screens are 640 or 320 pixels wide and 400 or 200 lines tall on
// the same monitor: narrow screens have wide pixels, short ones tall pixels.
void pc88vaAspect(int mode, Image& out) {
  const uint32_t pixelWidth = out.width <= 320 ? 2 : 1;
  uint32_t pixelHeight = out.height <= 256 ? 2 : 1;
  if (mode & kVaTallPixels) pixelHeight *= 2;
  setAspect(out, pixelWidth, pixelHeight);
}

uint32_t component(uint32_t value, int bits) { return bits == 0 ? 0 : widen(value, bits); }

// An X68000 colour GGGGGRRRRRBBBBBI as 0x00RRGGBB; I is the low bit of each component.
uint32_t x68kColour(uint32_t c) {
  const uint32_t i = c & 1;
  auto eight = [i](uint32_t five) {
    const uint32_t v = (five << 3) | (i << 2);
    return v | (v >> 6);
  };
  return (eight((c >> 6) & 31) << 16) | (eight((c >> 11) & 31) << 8) | eight((c >> 1) & 31);
}

uint32_t fixed256Colour(uint32_t code) {
  return (component((code >> 2) & 7, 3) << 16) | (component(code >> 5 & 7, 3) << 8) | component(code & 3, 2);
}

}  // namespace

Status readPicModel(const uint8_t* data, std::size_t size, std::size_t at, Image& out, PicModel& model) {
  const uint8_t* h = data + at;
  if (h[0] != 0) return kUnknownFormat;  // the reserved byte
  const int machine = h[1] & 15;
  const int mode = h[1] >> 4;
  const int depth = static_cast<int>(be16(h + 2));
  uint32_t pixelWidth = 1, pixelHeight = 1;

  Status s = kOk;
  switch (machine) {
    case kX68000: s = x68000(mode, depth, model); break;  // its pictures are shown square
    case kPc88va: s = pc88va(mode, depth, model); break;
    case kFmTowns: s = fmTowns(mode, depth, model); break;
    case kMacintosh: s = macintosh(depth, model); break;
    case kGeneric: s = genericFields(h, size - at, mode, depth, model, pixelWidth, pixelHeight); break;
    default: return kUnknownFormat;
  }
  if (s != kOk) return s;
  model.codedWidth = static_cast<int>(be16(h + 4));
  model.codedHeight = static_cast<int>(be16(h + 6));
  model.body = at + 8 + model.extraFields;

  out.depth = depth;
  out.indexed = model.colours == PicColours::kPalette || model.colours == PicColours::kFixed256;
  out.width = model.codedWidth;
  out.height = model.pairs ? model.codedHeight * 2 : model.codedHeight;  // at most 2 * 65535
  // The working buffer holds one 32-bit code per coded pixel.
  if (Status work = checkSize(model.codedWidth, model.codedHeight, 4); work != kOk) return work;
  if (Status pixels = checkSize(out.width, out.height, out.indexed ? 1 : 3); pixels != kOk) return pixels;
  if (machine == kPc88va) pc88vaAspect(mode, out);
  else setAspect(out, pixelWidth, pixelHeight);
  return kOk;
}

Status readPicPalette(BitReader& bits, const PicModel& model, Image& out) {
  if (model.colours == PicColours::kFixed256) {
    for (uint32_t code = 0; code < 256; ++code) out.palette.push_back(fixed256Colour(code));
    return kOk;
  }
  const uint32_t entries = model.palette == PicPalette::kNone ? 0 : 1u << model.codeBits;
  for (uint32_t i = 0; i < entries; ++i) {
    if (model.palette == PicPalette::kX68kWords) {
      out.palette.push_back(x68kColour(bits.bits(16)));
      continue;
    }
    const int n = model.paletteBits;
    const uint32_t g = bits.bits(n), r = bits.bits(n), b = bits.bits(n);
    out.palette.push_back((component(r, n) << 16) | (component(g, n) << 8) | component(b, n));
  }
  return bits.overrun() ? kBroken : kOk;
}

uint32_t picDirectColour(uint32_t code, const PicModel& model) {
  if (model.colours == PicColours::kX68k) return x68kColour(model.codeBits == 15 ? code << 1 : code);
  const ComponentLayout& l = model.layout;
  const uint32_t blue = code & ((1u << l.blue) - 1);
  code >>= l.blue;
  const int secondBits = l.redFirst ? l.green : l.red;
  const uint32_t second = code & ((1u << secondBits) - 1);
  const uint32_t first = (code >> secondBits) & ((1u << (l.redFirst ? l.red : l.green)) - 1);
  const uint32_t red = l.redFirst ? first : second, green = l.redFirst ? second : first;
  return (component(red, l.red) << 16) | (component(green, l.green) << 8) | component(blue, l.blue);
}

}  // namespace retro::detail
