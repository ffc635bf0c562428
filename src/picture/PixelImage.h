// A picture as 32-bit pixels in memory (blue in the low byte, the top byte
// unused), top row first: the form in which the worker resamples, blurs and
// composes pictures, and the window's thread resamples the frames of a
// moving one. Plain C++, so the arithmetic is tested in 32 and 64 bits.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace picture {

struct PixelImage {
  PixelImage() = default;
  PixelImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h)) {}

  uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  bool Empty() const { return pixels.empty(); }

  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

// A rectangle of pixels somewhere else (a DIB section, part of a PixelImage):
// `stride` is the distance between rows, in pixels.
struct PixelRect {
  uint32_t* pixels = nullptr;
  int width = 0, height = 0;
  ptrdiff_t stride = 0;
};

inline PixelRect WholeOf(PixelImage& image) { return {image.pixels.data(), image.width, image.height, image.width}; }

}  // namespace picture
