// PIC ("PIC"): comment up to 0x1A, filler up to 0x00, then big-endian
// words: type (reserved byte, machine and mode in the next byte), depth,
// width, height; what follows up to the stream depends on the machine
// (pic_models.h). The picture is one linear run of colour codes: a run
// length, then the code of the next change point (through a 128-entry
// recently-used cache on most direct-colour machines), optionally followed by
// a chain of change points on the lines below carrying the same code.
#include <cstring>
#include <vector>

#include "Checked.h"
#include "bitreader.h"
#include "common.h"
#include "pic_models.h"

namespace retro {
namespace {

using namespace detail;

constexpr int32_t kUnset = -1;

bool sniff(const uint8_t* head, std::size_t size) {
  return size >= 3 && std::memcmp(head, "PIC", 3) == 0;
}

// 128 slots; a new colour replaces the least recently used slot, a hit on a
// slot makes it the most recently used. Slots are named by their fixed number.
class ColourCache {
 public:
  ColourCache() {
    // Slot 0 starts as the most recent; then 127, 126, ... down to 1, the oldest.
    for (int i = 0; i < kSlots; ++i) {
      older_[i] = static_cast<uint8_t>((i + 1) % kSlots);
      newer_[i] = static_cast<uint8_t>((i + kSlots - 1) % kSlots);
    }
  }

  void add(uint32_t colour) {
    newest_ = older_[newest_];  // the oldest slot, in the circle just behind the newest
    value_[newest_] = colour;
  }

  uint32_t use(int slot) {
    if (slot != newest_) {
      // Unlink the slot and put it back between the oldest and the newest.
      newer_[older_[slot]] = newer_[slot];
      older_[newer_[slot]] = older_[slot];
      const int oldest = older_[newest_];
      newer_[oldest] = static_cast<uint8_t>(slot);
      older_[slot] = static_cast<uint8_t>(oldest);
      older_[newest_] = static_cast<uint8_t>(slot);
      newer_[slot] = static_cast<uint8_t>(newest_);
      newest_ = slot;
    }
    return value_[slot];
  }

 private:
  static constexpr int kSlots = 128;
  uint32_t value_[kSlots] = {};
  uint8_t older_[kSlots];
  uint8_t newer_[kSlots];
  int newest_ = 0;
};

// Run lengths: n one-bits, a zero, then n+1 bits v; the length is v + 2^(n+1) - 1.
uint32_t readLength(BitReader& bits) {
  int width = 1;
  while (width < 21 && bits.bit()) ++width;
  return bits.bits(width) + (1u << width) - 1;
}

Status readHeader(const uint8_t* data, std::size_t size, Image& out, PicModel& model) {
  const std::size_t eof = findByte(data, size, 3, 0x1A);
  const std::size_t zero = findByte(data, size, eof + 1, 0x00);
  if (eof >= size || !checked::InRange(zero, 9, size)) return kBroken;
  out.comment = commentText(data, 3, eof);
  return readPicModel(data, size, zero + 1, out, model);
}

// A literal code, or one taken from the cache of recent codes.
uint32_t readCode(BitReader& bits, const PicModel& model, ColourCache& cache) {
  if (!model.cached) return bits.bits(model.codeBits);
  if (bits.bit()) return cache.use(static_cast<int>(bits.bits(7)));
  const uint32_t code = bits.bits(model.codeBits);
  cache.add(code);
  return code;
}

// Fills `work` with colour codes. Every run ends at a new pixel and every
// chain step takes two or more bits, so the work is bounded by the picture's
// size plus the stream's length.
Status expand(BitReader& bits, const PicModel& model, std::size_t paletteSize, std::vector<int32_t>& work,
              const Progress& progress) {
  const int width = model.codedWidth, height = model.codedHeight;
  const long long total = static_cast<long long>(width) * height;
  ColourCache cache;
  int32_t colour = 0;
  long long at = -1;
  long long nextRow = width;
  for (;;) {
    // Pixels before the next change point keep the current code, unless a
    // chain from above already set them; such a pixel becomes the current code.
    for (uint32_t run = readLength(bits); run > 1; --run) {
      ++at;
      if (work[at] == kUnset)
        work[at] = colour;
      else
        colour = work[at];
      if (at >= total - 1) return bits.overrun() ? kBroken : kOk;
    }
    const uint32_t code = readCode(bits, model, cache);
    if (model.colours == PicColours::kPalette && code >= paletteSize) return kBroken;
    colour = static_cast<int32_t>(code);  // at most 24 bits
    work[++at] = colour;
    if (bits.overrun()) return kBroken;
    if (at >= total - 1) return kOk;
    if (bits.bit()) {
      long long link = at;
      for (;;) {
        const uint32_t step = bits.bits(2);
        if (step == 0) {
          if (!bits.bit()) break;
          link += bits.bit() ? 2 : -2;
        } else {
          link += static_cast<long long>(step) - 2;  // 1: left, 2: below, 3: right
        }
        link += width;
        if (bits.overrun() || link < 0 || link >= total) return kBroken;
        work[link] = colour;
      }
    }
    if (bits.overrun()) return kBroken;
    if (at >= nextRow) {
      if (stopRequested(progress, static_cast<int>(at / width), height)) return kAborted;
      nextRow = (at / width + 1) * width;
    }
  }
}

// Codes to pixels: palette indexes, two indexes a code, or B, G, R bytes.
void storePixels(const std::vector<int32_t>& work, const PicModel& model, Image& out) {
  allocatePixels(out);
  for (std::size_t i = 0; i < work.size(); ++i) {
    const uint32_t code = static_cast<uint32_t>(work[i] == kUnset ? 0 : work[i]);
    if (model.pairs) {
      out.pixels[i * 2] = static_cast<uint8_t>(code);
      out.pixels[i * 2 + 1] = static_cast<uint8_t>(code >> 8);
    } else if (out.indexed) {
      out.pixels[i] = static_cast<uint8_t>(code);
    } else {
      const uint32_t c = picDirectColour(code, model);
      out.pixels[i * 3] = static_cast<uint8_t>(c);
      out.pixels[i * 3 + 1] = static_cast<uint8_t>(c >> 8);
      out.pixels[i * 3 + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
}

// The pixels of a file whose header readHeader has taken.
Status readPixels(const uint8_t* data, std::size_t size, const PicModel& model, Image& out,
                  const Progress& progress) {
  BitReader bits(data, size, model.body);
  if (Status s = readPicPalette(bits, model, out); s != kOk) return s;
  std::vector<int32_t> work(static_cast<std::size_t>(model.codedWidth) * static_cast<std::size_t>(model.codedHeight),
                            kUnset);
  if (Status s = expand(bits, model, out.palette.size(), work, progress); s != kOk) return s;
  if (stopRequested(progress, model.codedHeight, model.codedHeight)) return kAborted;
  storePixels(work, model, out);
  return kOk;
}

constexpr Format kPic = detail::twoPartFormat<PicModel, sniff, readHeader, readPixels>("*.pic", "PIC");

}  // namespace

const Format& PicFormat() { return kPic; }

}  // namespace retro
