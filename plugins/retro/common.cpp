#include "common.h"

#include <cstring>
#include <numeric>

#include "Checked.h"

namespace retro::detail {

std::size_t findByte(const uint8_t* data, std::size_t size, std::size_t from, uint8_t value) {
  if (from >= size) return size;
  const void* hit = std::memchr(data + from, value, size - from);
  return hit ? static_cast<std::size_t>(static_cast<const uint8_t*>(hit) - data) : size;
}

std::string commentText(const uint8_t* data, std::size_t begin, std::size_t end) {
  while (end > begin) {
    const uint8_t c = data[end - 1];
    if (c != ' ' && c != 0 && c != '\r' && c != '\n') break;
    --end;
  }
  return end > begin ? std::string(reinterpret_cast<const char*>(data + begin), end - begin)
                     : std::string();
}

Status checkSize(long long width, long long height, int bytesPerPixel) {
  if (width <= 0 || height <= 0) return kBroken;
  if (width > kMaxSide || height > kMaxSide) return kNoMemory;
  std::size_t pixels, bytes;
  if (!checked::Mul(width, height, pixels) || !checked::Mul(pixels, bytesPerPixel, bytes) ||
      bytes > kMaxPixelBytes)
    return kNoMemory;
  return kOk;
}

void allocatePixels(Image& out) {
  // Only after checkSize: the product fits kMaxPixelBytes.
  const std::size_t bpp = out.indexed ? 1 : 3;
  out.pixels.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * bpp, 0);
}

void setAspect(Image& out, uint32_t pixelWidth, uint32_t pixelHeight) {
  if (pixelWidth == 0 || pixelHeight == 0 || pixelWidth > 0xFFFF || pixelHeight > 0xFFFF) {
    out.xDensity = out.yDensity = 1;
    return;
  }
  const uint32_t g = std::gcd(pixelWidth, pixelHeight);
  out.xDensity = static_cast<uint16_t>(pixelHeight / g);
  out.yDensity = static_cast<uint16_t>(pixelWidth / g);
}

}  // namespace retro::detail
