// The picture a component owns: a display-format bitmap, its palette, and a
// memory DC (the canvas) that always has both selected.
#pragma once
#include <windows.h>

#include "forms/Gdi.h"
#include "picture/NativeFormats.h"

namespace picture {

class PictureHolder {
 public:
  PictureHolder();
  ~PictureHolder();
  PictureHolder(const PictureHolder&) = delete;
  PictureHolder& operator=(const PictureHolder&) = delete;

  bool Empty() const { return !picture_.bitmap; }
  HBITMAP Bitmap() const { return picture_.bitmap.get(); }
  HPALETTE Palette() const { return picture_.palette.get(); }
  int Width() const { return picture_.width; }
  int Height() const { return picture_.height; }

  // Takes ownership; the previous bitmap and palette are released.
  void Assign(LoadedPicture picture);
  void Clear() { Assign(LoadedPicture()); }

  // The canvas DC as it stands (may hold no picture).
  HDC Dc() const { return dc_.get(); }
  // The canvas; when empty, a blank white bitmap of the given size is put in first.
  HDC Canvas(int blankWidth, int blankHeight);

  void Paint(HDC dc, int x, int y) const;

 private:
  void Deselect();

  LoadedPicture picture_;
  forms::MemoryDc dc_;
  HGDIOBJ originalBitmap_ = nullptr;
};

}  // namespace picture
