// What the PIC2 decoder's block readers share: a block's place on the
// canvas and how its rows are painted (pic2.cpp), and the two coded kinds,
// arithmetic ("P2SS", pic2_arithmetic.cpp) and run-length ("P2SF",
// pic2_run_length.cpp).
#pragma once
#include <cstddef>
#include <cstdint>

#include "common.h"

namespace retro::pic2 {

struct Block {
  bool bigEndian = true;
  bool keyed = false;
  uint32_t key = 0;
  int width = 0, height = 0, left = 0, top = 0;
  std::size_t data = 0, end = 0;
};

// Coded rows carry kMargin spare cells on each side so that chains and
// neighbour counts near the edges need no tests.
constexpr int kMargin = 4;

// Paints block row y from one value per block column; the key colour and
// anything off the canvas stay untouched.
void paintRow(const Block& block, int y, const uint32_t* values, bool raw, int depth, Image& out);

// Reports the rows done so far; true when the host asked to stop.
bool rowDone(const Progress& progress, const Block& block, int y, const Image& out);

Status drawArithmeticBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                           const Progress& progress);
Status drawRunLengthBlock(const uint8_t* data, const Block& block, int depth, Image& out,
                          const Progress& progress);

}  // namespace retro::pic2
