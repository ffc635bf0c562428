// The test pictures (made by make_images.py) and their reference pixels.
#pragma once
#include <string>
#include <vector>

#include "spi_dll.h"

namespace spitest {

// Windows path of a file in the pictures folder (GLIMORA_PLUGIN_DATA).
std::string DataFile(const std::string& name);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// <picture>.pnm: the pixels ImageMagick decodes from the picture (P4, P5 or P6),
// as top-down RGB.
struct Reference {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};
Reference ReferenceFor(const std::string& picture);

struct Difference {
  int max = 0;       // largest difference of one channel
  double mean = 0;   // mean difference over all channels
  double over8 = 0;  // share of channels that differ by more than 8
};
Difference Compare(const Picture& picture, const Reference& ref);

// The decoded picture as a P6 file, to look at when a comparison fails.
void WritePpm(const std::string& path, const Picture& picture);

}  // namespace spitest
