// Crafted files against the real plug-in DLLs of either width: sizes whose products
// wrap in 32 bits, and files that cost much work for a picture that is then
// refused (their times are printed as [bench] lines, not asserted). Each must come back as a result code, never as a crash or as
// success with pixels the file does not hold.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "spi_dll.h"

namespace spitest {
namespace {

void PutBe16(std::vector<uint8_t>& f, size_t at, unsigned v) {
  f[at] = static_cast<uint8_t>(v >> 8);
  f[at + 1] = static_cast<uint8_t>(v);
}
void PutBe32(std::vector<uint8_t>& f, size_t at, unsigned v) {
  PutBe16(f, at, v >> 16);
  PutBe16(f, at + 2, v & 0xFFFF);
}

// The 124-byte PIC2 header of a canvas of width x height at the given depth,
// with the first block right after it.
std::vector<uint8_t> Pic2Header(unsigned width, unsigned height, unsigned depth) {
  std::vector<uint8_t> f(124, 0);
  std::memcpy(f.data(), "P2DT", 4);
  PutBe32(f, 106, 124);
  PutBe16(f, 110, depth);
  PutBe16(f, 112, 1);
  PutBe16(f, 114, 1);
  PutBe16(f, 116, width);
  PutBe16(f, 118, height);
  return f;
}

// Appends a block header (26 bytes) of the given kind and size on the canvas
// at 0,0 followed by `data`.
void AddPic2Block(std::vector<uint8_t>& f, const char* id, unsigned width, unsigned height,
                  const std::vector<uint8_t>& data) {
  const size_t at = f.size();
  f.resize(at + 26, 0);
  std::memcpy(&f[at], id, 4);
  PutBe32(f, at + 4, static_cast<unsigned>(26 + data.size()));
  PutBe16(f, at + 10, width);
  PutBe16(f, at + 12, height);
  f.insert(f.end(), data.begin(), data.end());
}

void EndPic2(std::vector<uint8_t>& f) { f.resize(f.size() + 8, 0); }

// A raw 16-bit block of 33025 x 65026 pixels holding 4 data bytes: its byte
// count 2 x 33025 x 65026 is 2^32 + 4, which a 32-bit size_t sees as 4.
std::vector<uint8_t> WrappingRawBlockFile(unsigned canvasWidth, unsigned canvasHeight) {
  std::vector<uint8_t> f = Pic2Header(canvasWidth, canvasHeight, 16);
  AddPic2Block(f, "P2BM", 33025, 65026, {0x12, 0x34, 0x56, 0x78});
  EndPic2(f);
  return f;
}

TEST(HostileFiles, Pic2RawBlockWhoseByteCountWrapsIsRefused) {
  SpiDll dll("ifpic2.spi");
  ASSERT_TRUE(dll.Loaded());
  const std::vector<uint8_t> tall = WrappingRawBlockFile(1, 32768);
  ASSERT_EQ(tall.size(), 162u);
  EXPECT_EQ(DecodeMemory(dll, tall).rc, 3) << "rows far past the 4 bytes";
  // The same through a file, as the saver hands pictures over.
  const char* path = "hostile_wrapping.p2";
  std::FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(tall.data(), 1, tall.size(), f);
  std::fclose(f);
  EXPECT_EQ(DecodeFile(dll, path).rc, 3);
  std::remove(path);

  spi::PictureInfo info;
  EXPECT_EQ(InfoOf(dll, reinterpret_cast<const char*>(tall.data()), static_cast<spi::Length>(tall.size()),
                   spi::kInputMemory, info),
            0)
      << "the header alone is sound";
}

// On a small canvas the rows read past the buffer land in the heap: the
// picture must not come back made of whatever lies there.
TEST(HostileFiles, Pic2WrappingBlockOnASmallCanvasShowsNoHeapBytes) {
  SpiDll dll("ifpic2.spi");
  ASSERT_TRUE(dll.Loaded());
  const Picture small = DecodeMemory(dll, WrappingRawBlockFile(2, 2));
  EXPECT_EQ(small.rc, 3);
  EXPECT_TRUE(small.rgb.empty());
}

// A 4 MB file of raw blocks of width 0 and full height, ended properly: each
// block holds nothing but costs a pass over every row of the canvas.
TEST(HostileFiles, Pic2FloodOfEmptyBlocksIsRefusedQuickly) {
  SpiDll dll("ifpic2.spi");
  ASSERT_TRUE(dll.Loaded());
  std::vector<uint8_t> f = Pic2Header(1, 32768, 16);
  while (f.size() < (4u << 20)) AddPic2Block(f, "P2BM", 0, 65535, {});
  EndPic2(f);

  const auto start = std::chrono::steady_clock::now();
  const Picture pic = DecodeMemory(dll, f);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[bench] %zu-byte PIC2 of %zu empty blocks: answered %d in %.3f s\n", f.size(),
              (f.size() - 132) / 26, pic.rc, seconds);
  EXPECT_EQ(pic.rc, 3);
}

// A sound run-length-free picture still decodes when it has a few blocks.
TEST(HostileFiles, Pic2WithSeveralSmallBlocksStillDecodes) {
  SpiDll dll("ifpic2.spi");
  ASSERT_TRUE(dll.Loaded());
  std::vector<uint8_t> f = Pic2Header(2, 2, 24);
  for (int i = 0; i < 8; ++i)
    AddPic2Block(f, "P2BM", 2, 2, std::vector<uint8_t>(12, static_cast<uint8_t>(0x10 * (i + 1))));
  EndPic2(f);
  const Picture pic = DecodeMemory(dll, f);
  ASSERT_EQ(pic.rc, 0);
  EXPECT_EQ(pic.rgb, std::vector<uint8_t>(12, 0x80)) << "the last block is on top";
}

// XLD4 chunk codes: MSB-first values of a width that starts at 3 bits and
// grows by one for every escape (a value of 1) written before a larger value.
class Xld4CodeWriter {
 public:
  void Put(unsigned value) {
    while (value >= (1u << width_)) Bits(1, width_++);
    Bits(value, width_);
  }
  // The end of the chunk (a value below 2), then its 6-byte header.
  std::vector<uint8_t> Chunk(unsigned pairs) {
    Bits(0, width_);
    std::vector<uint8_t> chunk = {0, 0, 0, 0, static_cast<uint8_t>(pairs), static_cast<uint8_t>(pairs >> 8)};
    for (size_t i = 0; i < bits_.size(); i += 8) {
      uint8_t byte = 0;
      for (size_t b = 0; b < 8; ++b) byte = static_cast<uint8_t>(byte << 1 | (i + b < bits_.size() ? bits_[i + b] : 0));
      chunk.push_back(byte);
    }
    chunk[0] = static_cast<uint8_t>(chunk.size() - 6);
    chunk[1] = static_cast<uint8_t>((chunk.size() - 6) >> 8);
    return chunk;
  }

 private:
  void Bits(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) bits_.push_back((value >> i) & 1);
  }
  std::vector<uint8_t> bits_;
  int width_ = 3;
};

// A 4 MB XLD4 file of chunks that each expand to 65,341 symbols (every code
// one symbol longer than the one before) and use two of them: the decoder
// did the whole expansion of every chunk, 2 s of work for a picture it then
// refused for running out of chunks.
TEST(HostileFiles, Xld4ChunksExpandingFarBeyondTheirPixelsAreRefusedQuickly) {
  SpiDll dll("ifxld4.spi");
  ASSERT_TRUE(dll.Loaded());
  std::vector<uint8_t> f(16, 0);
  std::memcpy(&f[11], "MAJYO", 5);
  Xld4CodeWriter palette;
  for (int i = 0; i < 96; ++i) palette.Put(2);  // symbol 0: all levels 0
  const std::vector<uint8_t> first = palette.Chunk(1);
  f.insert(f.end(), first.begin(), first.end());
  Xld4CodeWriter growing;
  growing.Put(2);
  for (unsigned code = 18; code < 17 + 361; ++code) growing.Put(code + 1);  // the code before, plus one
  const std::vector<uint8_t> chunk = growing.Chunk(1);
  while (f.size() < (4u << 20)) f.insert(f.end(), chunk.begin(), chunk.end());

  const auto start = std::chrono::steady_clock::now();
  const Picture pic = DecodeMemory(dll, f);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[bench] %zu-byte XLD4 of %zu over-expanding chunks: answered %d in %.3f s\n", f.size(),
              (f.size() - 16 - first.size()) / chunk.size(), pic.rc, seconds);
  EXPECT_EQ(pic.rc, 3);
}

}  // namespace
}  // namespace spitest
