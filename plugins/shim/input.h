// The picture's bytes, from a file at an offset or from the caller's memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "spi.h"

namespace spi {

struct Bytes {
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  std::vector<uint8_t> owned;  // holds the file's bytes; empty for memory input
};

// Files larger than this (from the offset on) are refused with kNoMemory.
constexpr std::size_t kMaxInputBytes = 512u * 1024u * 1024u;

// flag bits 0..2 == 0: buf is a file name, len the offset; == 1: buf is the
// data, len its size. Returns kSuccess or the result code to give the host.
int ReadInput(LPCSTR buf, Length len, unsigned flag, Bytes& out);

// The head of a file for IsSupported: up to kHeadSize bytes read from the
// handle's current position, which is then restored, zero-padded.
bool ReadHead(HANDLE file, uint8_t (&head)[kHeadSize]);

}  // namespace spi
