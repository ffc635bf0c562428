#include "dib.h"

#include <cstring>

#include "Checked.h"

namespace spi {

std::size_t DibStride(int width, int bitCount) {
  std::size_t bits;
  if (width <= 0 || width > kMaxSide || bitCount <= 0 || !checked::Mul(width, bitCount, bits) ||
      !checked::Add(bits, 31, bits))
    return 0;
  return bits / 32 * 4;
}

bool WithinLimits(int width, int height, int bitCount) {
  const std::size_t stride = DibStride(width, bitCount);
  std::size_t bytes;
  return stride != 0 && height > 0 && height <= kMaxSide && checked::Mul(stride, height, bytes) &&
         bytes <= kMaxBitsBytes;
}

Dib::~Dib() { Release(); }

int Dib::Create(int width, int height, int bitCount, int colours) {
  Release();
  if (!WithinLimits(width, height, bitCount)) return kNoMemory;
  if (colours < 0 || colours > 256) return kInternalError;
  stride_ = DibStride(width, bitCount);
  // Both fit: colours is at most 256, and WithinLimits checked the bits.
  const std::size_t infoSize = sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * colours;
  const std::size_t bitsSize = stride_ * static_cast<std::size_t>(height);
  infoHandle_ = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, infoSize);
  bitsHandle_ = LocalAlloc(LMEM_MOVEABLE, bitsSize);
  if (infoHandle_ == nullptr || bitsHandle_ == nullptr) {
    Release();
    return kNoMemory;
  }
  info_ = static_cast<BITMAPINFO*>(LocalLock(infoHandle_));
  bits_ = static_cast<uint8_t*>(LocalLock(bitsHandle_));
  if (info_ == nullptr || bits_ == nullptr) {
    Release();
    return kMemoryError;
  }
  // Padding bytes are zero so that two decodes of one picture compare equal.
  std::memset(bits_, 0, bitsSize);
  width_ = width;
  height_ = height;
  BITMAPINFOHEADER& h = info_->bmiHeader;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;  // positive: bottom-up
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bitCount);
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(bitsSize);
  h.biClrUsed = static_cast<DWORD>(colours);
  return kSuccess;
}

void Dib::SetColour(int index, uint32_t rgb) {
  RGBQUAD& q = info_->bmiColors[index];
  q.rgbRed = static_cast<BYTE>(rgb >> 16);
  q.rgbGreen = static_cast<BYTE>(rgb >> 8);
  q.rgbBlue = static_cast<BYTE>(rgb);
  q.rgbReserved = 0;
}

void Dib::HandOver(HANDLE* info, HANDLE* bits) {
  LocalUnlock(infoHandle_);
  LocalUnlock(bitsHandle_);
  *info = infoHandle_;
  *bits = bitsHandle_;
  infoHandle_ = bitsHandle_ = nullptr;
  info_ = nullptr;
  bits_ = nullptr;
}

void Dib::Release() {
  if (info_ != nullptr) LocalUnlock(infoHandle_);
  if (bits_ != nullptr) LocalUnlock(bitsHandle_);
  if (infoHandle_ != nullptr) LocalFree(infoHandle_);
  if (bitsHandle_ != nullptr) LocalFree(bitsHandle_);
  infoHandle_ = bitsHandle_ = nullptr;
  info_ = nullptr;
  bits_ = nullptr;
}

}  // namespace spi
