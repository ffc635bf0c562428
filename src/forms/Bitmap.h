// The one canvas of the program: an off-screen bitmap with its own memory
// DC that keeps it selected, and the palette selection of that DC. The
// saver's stage bitmaps, the title, the picture component's picture and the
// decoders' drawing surfaces are all of this kind.
#pragma once
#include <windows.h>

#include "forms/Gdi.h"

namespace forms {

class Bitmap {
 public:
  Bitmap() = default;
  ~Bitmap() { Reset(); }  // the DC goes with dc_
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&& o) noexcept { *this = std::move(o); }
  Bitmap& operator=(Bitmap&& o) noexcept;

  // The memory DC alone, before any bitmap (a reference DC for drawing
  // elsewhere); false when the system has no DC to give.
  bool Open();
  // A bitmap compatible with the screen, width x height, contents undefined.
  // A size of zero or less gives an empty canvas.
  void Create(int width, int height);
  // A top-down DIB section of `bpp` bits a pixel (8 or fewer take the
  // colour table), zero-filled, whose pixels Bits() reaches directly.
  void CreateDib(int width, int height, int bpp, const RGBQUAD* colors = nullptr, int colorCount = 0);
  // Takes an existing bitmap (a one-bit mask strip, a decoded picture).
  void Adopt(HBITMAP bitmap);
  // Gives the bitmap away, deselected; the canvas is empty afterwards.
  BitmapHandle Release();
  // Deletes the bitmap; the DC stays, with its own objects selected again.
  void Reset();

  HDC Dc() const { return dc_.get(); }
  HBITMAP Handle() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !bitmap_; }
  // The pixels of a DIB section (nullptr for other bitmaps), rows of Stride() bytes.
  BYTE* Bits() const { return bits_; }
  int Stride() const { return (width_ * bpp_ + 31) / 32 * 4; }

  void Fill(COLORREF color);
  // Selects the palette (the picture's, owned elsewhere) or the default one.
  void UsePalette(HPALETTE palette);

 private:
  MemoryDc dc_;
  BitmapHandle bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  BYTE* bits_ = nullptr;
  int bpp_ = 0;
};

}  // namespace forms
