// PIC2 ("P2DT"): a 124-byte big-endian header (names, title, saver, flag,
// number, time, offset of the first block, depth, pixel aspect x/y, canvas
// size), an optional palette, the comment up to the first block, then blocks
// with 26-byte headers (id, size, flag, size and place on the canvas, key
// colour) until an all-zero id. Raw blocks hold one big-endian ("P2BM") or
// little-endian ("P2BI") value per pixel with depth/3 bits per component;
// 15/16-bit raw values are X68000 colours (GGGGGRRRRRBBBBBI). Arithmetic-coded
// blocks ("P2SS") hold R, G, B values of depth/3 bits each, coded as change
// points along each row, colours from caches or predicted from the pixels
// above and to the left, and chains that carry a colour down to the next row.
// Run-length blocks ("P2SF") code the same change points and chains with plain
// bits: runs of unchanged pixels, colours from caches keyed by the pixel to
// the left or written out with R and G swapped.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Checked.h"
#include "pic2_blocks.h"

namespace retro {
namespace pic2 {

using namespace detail;

namespace {

// 0x00RRGGBB of a value holding R, G and B of `bits` bits each, R at the top.
uint32_t rgbOf(uint32_t value, int bits) {
  const uint32_t mask = (1u << bits) - 1;
  return (uint32_t{widen((value >> (2 * bits)) & mask, bits)} << 16) |
         (uint32_t{widen((value >> bits) & mask, bits)} << 8) | widen(value & mask, bits);
}

// 0x00RRGGBB of one raw pixel value.
uint32_t rawColourOf(uint32_t value, int depth) {
  const int bits = depth / 3;
  if (bits != 5) return rgbOf(value, bits);
  // X68000 colour: G at the top, then R, B and the intensity bit.
  value >>= 1;
  return rgbOf(((value >> 5) & 31) << 10 | ((value >> 10) & 31) << 5 | (value & 31), 5);
}

}  // namespace

void paintRow(const Block& block, int y, const uint32_t* values, bool raw, int depth, Image& out) {
  const int cy = block.top + y;
  if (cy >= out.height) return;
  for (int x = 0; x < block.width && block.left + x < out.width; ++x) {
    if (block.keyed && values[x] == block.key) continue;
    const uint32_t c = raw ? rawColourOf(values[x], depth) : rgbOf(values[x], depth / 3);
    uint8_t* dst = out.pixels.data() + (static_cast<std::size_t>(cy) * out.width + block.left + x) * 3;
    dst[0] = static_cast<uint8_t>(c);
    dst[1] = static_cast<uint8_t>(c >> 8);
    dst[2] = static_cast<uint8_t>(c >> 16);
  }
}

bool rowDone(const Progress& progress, const Block& block, int y, const Image& out) {
  return stopRequested(progress, std::min(out.height, block.top + y + 1), out.height);
}

namespace {

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
    if (!checked::InRange(text, 3, size)) return kBroken;
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

Status drawRawBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                    const Progress& progress) {
  const int bytesPerPixel = (depth + 7) / 8;
  std::size_t rowBytes, bytes;
  if (!checked::Mul(block.width, bytesPerPixel, rowBytes) ||
      !checked::Mul(rowBytes, block.height, bytes) || !checked::InRange(block.data, bytes, block.end))
    return kBroken;
  std::vector<uint32_t> row(block.width);
  for (int y = 0; y < block.height && block.top + y < out.height; ++y) {
    const uint8_t* p = data + block.data + rowBytes * y;
    for (int x = 0; x < block.width; ++x, p += bytesPerPixel) {
      if (bytesPerPixel == 3) row[x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
      else if (bytesPerPixel == 2) row[x] = block.bigEndian ? be16(p) : le16(p);
      else row[x] = p[0];
    }
    paintRow(block, y, row.data(), true, depth, out);
    if (rowDone(progress, block, y, out)) return kAborted;
  }
  return kOk;
}

// What decoding a block costs, in pixels: its rows on the canvas in full
// width plus one per row, a fixed part per block, and the colour caches a
// coded block sets up.
unsigned long long blockWork(const Block& block, const Image& out, bool coded) {
  constexpr unsigned long long kPerBlock = 64, kCodedSetUp = 4096;
  const unsigned long long rows = std::max(0, std::min(block.height, out.height - block.top));
  return rows * (static_cast<unsigned long long>(block.width) + 1) + kPerBlock + (coded ? kCodedSetUp : 0);
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

  // Blocks are decoded in full width even where they leave the canvas, and
  // each row and each block costs something even when it is empty, so the
  // work of all blocks together is capped at a few times the canvas.
  unsigned long long budget = 4 * static_cast<unsigned long long>(out.width) * out.height + 65536;
  int blocks = 0;
  for (;;) {
    if (!checked::InRange(at, 8, size)) return kBroken;
    if (be32(data + at) == 0) break;  // terminating block
    const uint32_t blockSize = be32(data + at + 4);
    if (blockSize < kBlockHeaderSize || blockSize > size - at) return kBroken;
    const uint8_t* h = data + at;
    Block block;
    const bool arithmetic = std::memcmp(h, "P2SS", 4) == 0;
    const bool runLength = std::memcmp(h, "P2SF", 4) == 0;
    const bool coded = arithmetic || runLength;
    if (std::memcmp(h, "P2BM", 4) == 0) block.bigEndian = true;
    else if (std::memcmp(h, "P2BI", 4) == 0) block.bigEndian = false;
    else if (!coded) return kUnknownFormat;
    block.keyed = (be16(h + 8) & 1) != 0;
    block.width = static_cast<int>(be16(h + 10));
    block.height = static_cast<int>(be16(h + 12));
    block.left = static_cast<int>(be16(h + 14));
    block.top = static_cast<int>(be16(h + 16));
    block.key = be32(h + 18);
    block.data = at + kBlockHeaderSize;
    block.end = at + blockSize;
    const unsigned long long work = blockWork(block, out, coded);
    if (work > budget) return kBroken;
    budget -= work;
    Status s = kOk;
    if (arithmetic) s = drawArithmeticBlock(data, block, depth, out, progress);
    else if (runLength) s = drawRunLengthBlock(data, block, depth, out, progress);
    else s = drawRawBlock(data, block, depth, out, progress);
    if (s != kOk) return s;
    at += blockSize;
    ++blocks;
  }
  return blocks > 0 ? kOk : kBroken;
}

}  // namespace
}  // namespace pic2

constexpr Format kPic2{"*.p2", "PIC2", pic2::sniff, detail::pixelsOnlyWhenOk<pic2::decode>};


const Format& Pic2Format() { return kPic2; }

}  // namespace retro