// PIC2 ("P2DT"): a 124-byte big-endian header (names, title, saver, flag,
// number, time, offset of the first block, depth, pixel aspect x/y, canvas
// size), an optional palette, the comment up to the first block, then blocks
// with 26-byte headers (id, size, flag, size and place on the canvas, key
// colour) until an all-zero id. Raw blocks hold one big-endian ("P2BM") or
// little-endian ("P2BI") value per pixel with depth/3 bits per component;
// 15/16-bit values are X68000 colours (GGGGGRRRRRBBBBBI). The compressed
// block types ("P2SS", "P2SF") are not read.
#include <algorithm>
#include <cstring>
#include <vector>

#include "common.h"

namespace retro {
namespace {

using namespace detail;

constexpr std::size_t kHeaderSize = 124;
constexpr std::size_t kBlockHeaderSize = 26;

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 4 && std::memcmp(head, "P2DT", 4) == 0;
}

bool supportedDepth(int depth) { return depth == 16 || (depth % 3 == 0 && depth >= 3 && depth <= 24); }

Status readHeader(const uint8_t* data, std::size_t size, Image& out, int& depth, std::size_t& firstBlock) {
  if (size < kHeaderSize) return kBroken;
  // Layout: 0 magic, 4 name[18], 22 subtitle[8], 30 CR LF, 32 title[30], 62 CR LF,
  // 64 saver[30], 94 CR LF, 96 EOF, 97 reserved, 98 flag, 100 number, 102 time,
  // 106 first block, 110 depth, 112 x aspect, 114 y aspect, 116 width, 118 height, 120 reserved.
  depth = static_cast<int>(be16(data + 110));
  out.depth = depth;
  out.indexed = false;
  out.width = static_cast<int>(be16(data + 116));
  out.height = static_cast<int>(be16(data + 118));
  // x aspect / y aspect is the width of a pixel over its height.
  setAspect(out, be16(data + 112), be16(data + 114));
  out.comment = commentText(data, 32, 62);
  firstBlock = be32(data + 106);
  std::size_t text = kHeaderSize;
  if (be16(data + 98) & 1) {  // palette: bits per entry, count, R G B entries
    if (text + 3 > size) return kBroken;
    text += 3 + static_cast<std::size_t>(be16(data + text + 1)) * 3;
  }
  if (firstBlock < kHeaderSize || firstBlock > size) return kBroken;
  if (text < firstBlock) {
    std::size_t end = findByte(data, firstBlock, text, 0x00);
    const std::string comment = commentText(data, text, end);
    if (!comment.empty()) out.comment = out.comment.empty() ? comment : out.comment + "\r\n" + comment;
  }
  if (!supportedDepth(depth)) return kUnknownFormat;
  return checkSize(out.width, out.height, 3);
}

struct Block {
  bool bigEndian = true;
  bool keyed = false;
  uint32_t key = 0;
  int width = 0, height = 0, left = 0, top = 0;
  std::size_t data = 0, end = 0;
};

// 0x00RRGGBB of one raw pixel value.
uint32_t colourOf(uint32_t value, int depth) {
  const int bits = depth / 3;
  uint32_t r, g, b;
  if (bits == 5) {  // X68000 colour: G at the top, then R, B and the intensity bit
    value >>= 1;
    g = (value >> 10) & 31;
    r = (value >> 5) & 31;
    b = value & 31;
  } else {
    const uint32_t mask = (1u << bits) - 1;
    r = (value >> (2 * bits)) & mask;
    g = (value >> bits) & mask;
    b = value & mask;
  }
  return (uint32_t{widen(r, bits)} << 16) | (uint32_t{widen(g, bits)} << 8) | widen(b, bits);
}

Status drawBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                 const Progress& progress) {
  const int bytesPerPixel = (depth + 7) / 8;
  const std::size_t rowBytes = static_cast<std::size_t>(block.width) * bytesPerPixel;
  if (block.data + rowBytes * static_cast<std::size_t>(block.height) > block.end) return kBroken;
  for (int y = 0; y < block.height; ++y) {
    const int cy = block.top + y;
    const uint8_t* p = data + block.data + rowBytes * y;
    for (int x = 0; x < block.width; ++x, p += bytesPerPixel) {
      uint32_t value = 0;
      if (bytesPerPixel == 3) value = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
      else if (bytesPerPixel == 2) value = block.bigEndian ? be16(p) : le16(p);
      else value = p[0];
      const int cx = block.left + x;
      if ((block.keyed && value == block.key) || cx >= out.width || cy >= out.height) continue;
      const uint32_t c = colourOf(value, depth);
      uint8_t* dst = out.pixels.data() + (static_cast<std::size_t>(cy) * out.width + cx) * 3;
      dst[0] = static_cast<uint8_t>(c);
      dst[1] = static_cast<uint8_t>(c >> 8);
      dst[2] = static_cast<uint8_t>(c >> 16);
    }
    if (stopRequested(progress, std::min(out.height, cy + 1), out.height)) return kAborted;
  }
  return kOk;
}

Status decode(const uint8_t* data, std::size_t size, Image& out, bool headerOnly,
              const Progress& progress) {
  out = Image();
  if (!sniff(data, size)) return kUnknownFormat;
  int depth = 0;
  std::size_t at = 0;
  if (Status s = readHeader(data, size, out, depth, at); s != kOk) return s;
  if (headerOnly) return kOk;
  allocatePixels(out);

  int blocks = 0;
  for (;;) {
    if (at + 8 > size) return kBroken;
    if (be32(data + at) == 0) break;  // terminating block
    const uint32_t blockSize = be32(data + at + 4);
    if (blockSize < kBlockHeaderSize || blockSize > size - at) return kBroken;
    const uint8_t* h = data + at;
    Block block;
    if (std::memcmp(h, "P2BM", 4) == 0) block.bigEndian = true;
    else if (std::memcmp(h, "P2BI", 4) == 0) block.bigEndian = false;
    else return kUnknownFormat;  // compressed or unknown block type
    block.keyed = (be16(h + 8) & 1) != 0;
    block.width = static_cast<int>(be16(h + 10));
    block.height = static_cast<int>(be16(h + 12));
    block.left = static_cast<int>(be16(h + 14));
    block.top = static_cast<int>(be16(h + 16));
    block.key = be32(h + 18);
    block.data = at + kBlockHeaderSize;
    block.end = at + blockSize;
    if (Status s = drawBlock(data, block, depth, out, progress); s != kOk) return s;
    at += blockSize;
    ++blocks;
  }
  return blocks > 0 ? kOk : kBroken;
}

}  // namespace

const Format& Pic2Format() {
  static const Format format{"*.p2", "PIC2", sniff, detail::pixelsOnlyWhenOk<decode>};
  return format;
}

}  // namespace retro
