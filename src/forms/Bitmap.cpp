#include "forms/Bitmap.h"

#include <algorithm>
#include <vector>

namespace forms {

Bitmap& Bitmap::operator=(Bitmap&& o) noexcept {
  if (this == &o) return *this;
  Reset();
  dc_ = std::move(o.dc_);
  bitmap_ = std::move(o.bitmap_);
  oldBitmap_ = o.oldBitmap_;
  width_ = o.width_;
  height_ = o.height_;
  bits_ = o.bits_;
  bpp_ = o.bpp_;
  o.oldBitmap_ = nullptr;
  o.width_ = o.height_ = 0;
  o.bits_ = nullptr;
  return *this;
}

BitmapHandle Bitmap::Release() {
  if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
  oldBitmap_ = nullptr;
  BitmapHandle out = std::move(bitmap_);
  Reset();
  return out;
}

void Bitmap::Reset() {
  // A bitmap cannot be deleted while a DC holds it, nor a palette.
  if (dc_) {
    if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
    SelectPalette(dc_.get(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  }
  oldBitmap_ = nullptr;
  bitmap_.reset();
  width_ = height_ = 0;
  bits_ = nullptr;
  bpp_ = 0;
}

bool Bitmap::Open() {
  if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
  return static_cast<bool>(dc_);
}

void Bitmap::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return;
  WindowDc screen(nullptr);
  bitmap_.reset(CreateCompatibleBitmap(screen.get(), width, height));
  if (!bitmap_ || !Open()) return Reset();
  oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
}

void Bitmap::CreateDib(int width, int height, int bpp, const RGBQUAD* colors, int colorCount) {
  Reset();
  if (width <= 0 || height <= 0) return;
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi->bmiHeader.biWidth = width;
  bi->bmiHeader.biHeight = -height;
  bi->bmiHeader.biPlanes = 1;
  bi->bmiHeader.biBitCount = static_cast<WORD>(bpp);
  bi->bmiHeader.biCompression = BI_RGB;
  colorCount = colors ? std::min(std::max(colorCount, 0), 256) : 0;
  bi->bmiHeader.biClrUsed = static_cast<DWORD>(colorCount);
  for (int i = 0; i < colorCount; ++i) bi->bmiColors[i] = colors[i];
  void* bits = nullptr;
  WindowDc screen(nullptr);
  bitmap_.reset(CreateDIBSection(screen.get(), bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !Open()) return Reset();
  oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
  bits_ = static_cast<BYTE*>(bits);
  bpp_ = bpp;
}

void Bitmap::Adopt(HBITMAP bitmap) {
  Reset();
  if (!bitmap) return;
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  bitmap_.reset(bitmap);
  if (!Open()) return Reset();
  oldBitmap_ = SelectObject(dc_.get(), bitmap);
  width_ = info.bmWidth;
  height_ = info.bmHeight;
}

void Bitmap::Fill(COLORREF color) {
  if (!dc_) return;
  BrushHandle brush(CreateSolidBrush(color));
  RECT r = {0, 0, width_, height_};
  FillRect(dc_.get(), &r, brush.get());
}

void Bitmap::UsePalette(HPALETTE palette) {
  if (!dc_) return;
  if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  SelectPalette(dc_.get(), palette, FALSE);
  RealizePalette(dc_.get());
}

}  // namespace forms
