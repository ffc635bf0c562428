// Portable result of the retro-format decoders (MAG, PI, PIC, PIC2, XLD4).
// No Windows types here: the decoders build and fuzz on any host; the plug-in
// shim turns an Image into the bitmap handles of the plug-in interface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace retro {

struct Image {
  int width = 0;
  int height = 0;
  int depth = 0;                  // colour depth as stored in the file (4, 8, 15, 16, 24 ...)
  bool indexed = true;            // true: one palette index per pixel; false: B, G, R bytes
  std::vector<uint32_t> palette;  // 0x00RRGGBB entries, indexed images only
  std::vector<uint8_t> pixels;    // top-down rows, width * (indexed ? 1 : 3) bytes each, unpadded
  // Pixel aspect as densities (pixels per unit length): equal values mean square
  // pixels; pixels twice as tall as wide give xDensity 2, yDensity 1, so a host
  // that stretches the dimension of lower density (width *= y / x when x < y,
  // else height *= x / y) shows the picture with its true shape.
  uint16_t xDensity = 1;
  uint16_t yDensity = 1;
  std::string comment;
};

// Same numbers as the plug-in interface's result codes. A decode that does not
// return kOk leaves the header fields it read but no pixels and no palette;
// damaged or truncated data gives kBroken.
enum Status : int { kOk = 0, kAborted = 1, kUnknownFormat = 2, kBroken = 3, kNoMemory = 4 };

// Called now and then while decoding; returning true asks the decoder to stop (kAborted).
using Progress = std::function<bool(int done, int total)>;

// Images larger than this are refused with kNoMemory before anything is allocated.
constexpr int kMaxSide = 32768;
constexpr std::size_t kMaxPixelBytes = 256u * 1024u * 1024u;

struct Format {
  const char* filter;  // extension filter, e.g. "*.mag"
  const char* name;    // format name shown by hosts
  bool (*sniff)(const uint8_t* head, std::size_t size);  // head of the file, zero-padded to 2 KB
  // headerOnly: fill width, height, depth, densities and comment, leave pixels empty.
  Status (*decode)(const uint8_t* data, std::size_t size, Image& out, bool headerOnly,
                   const Progress& progress);
};

const Format& MagFormat();
const Format& PiFormat();
const Format& PicFormat();
const Format& Pic2Format();
const Format& Xld4Format();

}  // namespace retro
