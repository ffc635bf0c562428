#include "picture/IconDirectory.h"

#include <cstring>

#include "Checked.h"
#include "picture/InvalidGraphic.h"

namespace picture {

namespace {

uint32_t Get32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint32_t Get32BE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// Size and depth of one image of the directory, from its own header.
IconImage Inspect(const uint8_t* data, uint32_t size) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  IconImage image;
  image.size = size;
  if (size >= 24 && std::memcmp(data, kPng, 8) == 0) {
    image.width = static_cast<int>(Get32BE(data + 16));
    image.height = static_cast<int>(Get32BE(data + 20));
    image.bitCount = 32;
  } else if (size >= 40 && Get32(data) == 40) {
    const int width = static_cast<int32_t>(Get32(data + 4));
    const int doubled = static_cast<int32_t>(Get32(data + 8));  // colour and mask rows
    const int bpp = data[14] | data[15] << 8;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
      throw InvalidGraphic("icon bit count");
    if (width <= 0 || doubled <= 0 || width > 1024 || doubled > 2048)
      throw InvalidGraphic("icon size");
    const uint32_t colors = bpp <= 8 ? (Get32(data + 32) ? Get32(data + 32) : 1u << bpp) : 0;
    if (colors > 256u) throw InvalidGraphic("icon colour table");
    const int height = doubled / 2;
    // Sides of at most 1024 and 256 colours: these fit 32 bits with room to spare.
    const uint32_t colorRow = (static_cast<uint32_t>(width) * bpp + 31) / 32 * 4;
    const uint32_t maskRow = (static_cast<uint32_t>(width) + 31) / 32 * 4;
    if (40 + colors * 4 + (colorRow + maskRow) * height > size) throw InvalidGraphic("icon data cut short");
    image.width = width;
    image.height = height;
    image.bitCount = bpp;
  } else {
    throw InvalidGraphic("unknown icon image");
  }
  if (image.width <= 0 || image.height <= 0 || image.width > 1024 || image.height > 1024)
    throw InvalidGraphic("icon size");
  return image;
}

}  // namespace

IconImage ChooseIconImage(const uint8_t* bytes, size_t size) {
  if (size < 6 || bytes[0] || bytes[1] || bytes[2] != 1 || bytes[3]) throw InvalidGraphic("not an icon file");
  const size_t count = bytes[4] | bytes[5] << 8;
  size_t directoryBytes;
  if (count == 0 || !checked::Mul(count, 16, directoryBytes) || !checked::InRange(6, directoryBytes, size))
    throw InvalidGraphic("icon directory");
  IconImage best;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = bytes + 6 + i * 16;
    const uint32_t length = Get32(entry + 8), offset = Get32(entry + 12);
    // An empty image at the very end would point one past the last byte.
    if (length == 0 || !checked::InRange(offset, length, size)) throw InvalidGraphic("icon entry");
    IconImage image = Inspect(bytes + offset, length);
    image.offset = offset;
    const long long area = 1LL * image.width * image.height, bestArea = 1LL * best.width * best.height;
    if (area > bestArea || (area == bestArea && image.bitCount > best.bitCount)) best = image;
  }
  return best;
}

}  // namespace picture
