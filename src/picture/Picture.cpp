#include "picture/Picture.h"

#include "forms/Error.h"
#include "picture/Display.h"

namespace picture {

PictureHolder::PictureHolder() {
  if (!canvas_.Open()) throw forms::Error("描画用のメモリーが不足しています");
}

PictureHolder::~PictureHolder() { canvas_.Reset(); }

void PictureHolder::Assign(LoadedPicture picture) {
  canvas_.Reset();  // the previous bitmap goes here, then its palette
  palette_ = std::move(picture.palette);
  width_ = picture.bitmap ? picture.width : 0;
  height_ = picture.bitmap ? picture.height : 0;
  if (picture.bitmap) canvas_.Adopt(picture.bitmap.release());
  if (palette_) canvas_.UsePalette(palette_.get());
}

HDC PictureHolder::Canvas(int blankWidth, int blankHeight) {
  if (Empty() && blankWidth > 0 && blankHeight > 0) {
    LoadedPicture blank;
    blank.bitmap = CreateDisplayBitmap(blankWidth, blankHeight);
    blank.width = blankWidth;
    blank.height = blankHeight;
    Assign(std::move(blank));
    PatBlt(canvas_.Dc(), 0, 0, blankWidth, blankHeight, WHITENESS);
  }
  return canvas_.Dc();
}

void PictureHolder::Paint(HDC dc, int x, int y) const {
  if (Empty()) return;
  forms::PaletteSelection palette(dc, palette_.get(), true);
  BitBlt(dc, x, y, width_, height_, canvas_.Dc(), 0, 0, SRCCOPY);
}

}  // namespace picture
