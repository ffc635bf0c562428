// Sample pictures and their encoded files, shared by the retro decoder tests.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "retro/image.h"
#include "support/retro_encoders.h"

namespace retro_samples {

// A 16- or 256-entry palette with distinct colours.
std::vector<uint32_t> Palette(int colours);

// X68000 colour words with distinct values, one per pixel of a pattern.
std::vector<uint16_t> X68kPattern(int width, int height, bool withIntensity);

struct Sample {
  std::string name;
  const retro::Format* format;
  std::vector<uint8_t> file;
};

// One file of every format and mode, for the tests that mistreat files.
std::vector<Sample> AllSamples();

// Test expectations: the decoded image holds these indexes and palette, or
// these 0x00RRGGBB colours, pixel for pixel.
void ExpectSameIndexed(const retro_test::IndexedPicture& expected, const retro::Image& got);
void ExpectSameRgb(const std::vector<uint32_t>& expected, const retro::Image& got);

// What a host does with the densities: stretch the dimension of lower density.
std::pair<long, long> ShownSize(const retro::Image& image);

// Decodes the whole file without a progress callback.
retro::Status Decode(const retro::Format& format, const std::vector<uint8_t>& file, retro::Image& out);

}  // namespace retro_samples
