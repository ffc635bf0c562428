// The picture a component owns: a display-format bitmap and its palette on
// one canvas, whose DC always has both selected (and exists while empty).
#pragma once
#include <windows.h>

#include "forms/Bitmap.h"
#include "forms/Gdi.h"
#include "picture/NativeFormats.h"

namespace picture {

class PictureHolder {
 public:
  PictureHolder();
  ~PictureHolder();
  PictureHolder(const PictureHolder&) = delete;
  PictureHolder& operator=(const PictureHolder&) = delete;

  bool Empty() const { return canvas_.Empty(); }
  HBITMAP Bitmap() const { return canvas_.Handle(); }
  HPALETTE Palette() const { return palette_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Takes ownership; the previous bitmap and palette are released.
  void Assign(LoadedPicture picture);
  void Clear() { Assign(LoadedPicture()); }

  // The canvas DC as it stands (may hold no picture).
  HDC Dc() const { return canvas_.Dc(); }
  // The canvas; when empty, a blank white bitmap of the given size is put in first.
  HDC Canvas(int blankWidth, int blankHeight);

  void Paint(HDC dc, int x, int y) const;

 private:
  forms::PaletteHandle palette_;  // outlives its selection in canvas_
  forms::Bitmap canvas_;
  int width_ = 0, height_ = 0;
};

}  // namespace picture
