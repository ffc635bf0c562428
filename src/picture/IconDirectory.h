// The directory of an icon file, read without Windows: which of its images
// the program shows (the largest, then the deepest) and where it lies.
#pragma once
#include <cstddef>
#include <cstdint>

namespace picture {

struct IconImage {
  size_t offset = 0;  // of the image's bytes in the file
  uint32_t size = 0;  // at least one byte, all within the file
  int width = 0, height = 0, bitCount = 0;
};

// Throws InvalidGraphic for anything but a sound directory of sound images.
IconImage ChooseIconImage(const uint8_t* bytes, size_t size);

}  // namespace picture
