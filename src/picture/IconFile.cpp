// Icon files: a directory of images; the largest (then the deepest) is drawn
// at its own size over kIconBackground.
#include <cstdint>
#include <cstring>

#include "forms/Error.h"
#include "picture/InvalidGraphic.h"
#include "picture/NativeFormats.h"

namespace picture {

namespace {

struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
using IconHandle = forms::Owned<HICON, IconDeleter>;

uint32_t Get32(const BYTE* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint32_t Get32BE(const BYTE* p) {
  return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

struct Image {
  const BYTE* data = nullptr;
  uint32_t size = 0;
  int width = 0, height = 0, bitCount = 0;
};

// Size and depth of one image of the directory, from its own header.
Image Inspect(const BYTE* data, uint32_t size) {
  static const BYTE kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Image image;
  image.data = data;
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
    const uint64_t colorRow = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
    const uint64_t maskRow = (static_cast<uint64_t>(width) + 31) / 32 * 4;
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

LoadedPicture DecodeIconFile(const std::vector<BYTE>& bytes) {
  if (bytes.size() < 6 || bytes[0] || bytes[1] || bytes[2] != 1 || bytes[3])
    throw InvalidGraphic("not an icon file");
  const size_t count = bytes[4] | bytes[5] << 8;
  if (count == 0 || 6 + count * 16 > bytes.size()) throw InvalidGraphic("icon directory");
  Image best;
  for (size_t i = 0; i < count; ++i) {
    const BYTE* entry = &bytes[6 + i * 16];
    const uint32_t size = Get32(entry + 8), offset = Get32(entry + 12);
    if (offset > bytes.size() || size > bytes.size() - offset) throw InvalidGraphic("icon entry");
    const Image image = Inspect(&bytes[offset], size);
    const long long area = 1LL * image.width * image.height, bestArea = 1LL * best.width * best.height;
    if (area > bestArea || (area == bestArea && image.bitCount > best.bitCount)) best = image;
  }
  IconHandle icon(CreateIconFromResourceEx(const_cast<BYTE*>(best.data), best.size, TRUE,
                                           0x00030000, best.width, best.height, LR_DEFAULTCOLOR));
  if (!icon) throw InvalidGraphic("icon rejected");
  DrawingSurface surface(best.width, best.height, kIconBackground);
  DrawIconEx(surface.Dc(), 0, 0, icon.get(), best.width, best.height, 0, nullptr, DI_NORMAL);
  return surface.Finish();
}

LoadedPicture ReadIconFile(const std::string& fileName) {
  return DecodeIconFile(ReadWholeFile(fileName));
}

}  // namespace picture
