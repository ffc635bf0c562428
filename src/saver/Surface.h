// An off-screen bitmap in the display's format with its own memory DC:
// BackBitmap, ScreenBitmap, WorkBitmap, PatternBitmap and the title stage.
#pragma once
#include <windows.h>

#include "forms/Gdi.h"

namespace saver {

class Surface {
 public:
  Surface() = default;
  ~Surface() { Reset(); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  Surface(Surface&& o) noexcept { *this = std::move(o); }
  Surface& operator=(Surface&& o) noexcept;

  // A bitmap compatible with the screen, width x height, contents undefined.
  // A size of zero or less gives an empty surface.
  void Create(int width, int height);
  // Takes an existing bitmap (a one-bit mask strip, for instance).
  void Adopt(HBITMAP bitmap);
  void Reset();

  HDC Dc() const { return dc_.get(); }
  HBITMAP Bitmap() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !bitmap_; }

  void Fill(COLORREF color);
  // Selects the palette (the picture's, owned elsewhere) or the default one.
  void UsePalette(HPALETTE palette);

 private:
  forms::MemoryDc dc_;
  forms::BitmapHandle bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace saver
