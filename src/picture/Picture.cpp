#include "picture/Picture.h"

#include "forms/Error.h"
#include "picture/Display.h"

namespace picture {

PictureHolder::PictureHolder() : dc_(CreateCompatibleDC(nullptr)) {
  if (!dc_) throw forms::Error("描画用のメモリーが不足しています");
}

PictureHolder::~PictureHolder() { Deselect(); }

// Puts the DC's own objects back, so that ours can be deleted.
void PictureHolder::Deselect() {
  if (originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
  originalBitmap_ = nullptr;
  SelectPalette(dc_.get(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
}

void PictureHolder::Assign(LoadedPicture picture) {
  Deselect();
  picture_ = std::move(picture);  // the previous objects are released here
  if (picture_.bitmap) originalBitmap_ = SelectObject(dc_.get(), picture_.bitmap.get());
  if (picture_.palette) {
    SelectPalette(dc_.get(), picture_.palette.get(), FALSE);
    RealizePalette(dc_.get());
  }
}

HDC PictureHolder::Canvas(int blankWidth, int blankHeight) {
  if (Empty() && blankWidth > 0 && blankHeight > 0) {
    LoadedPicture blank;
    blank.bitmap = CreateDisplayBitmap(blankWidth, blankHeight);
    blank.width = blankWidth;
    blank.height = blankHeight;
    Assign(std::move(blank));
    PatBlt(dc_.get(), 0, 0, blankWidth, blankHeight, WHITENESS);
  }
  return dc_.get();
}

void PictureHolder::Paint(HDC dc, int x, int y) const {
  if (Empty()) return;
  HPALETTE old = nullptr;
  if (picture_.palette) {
    old = SelectPalette(dc, picture_.palette.get(), TRUE);
    RealizePalette(dc);
  }
  BitBlt(dc, x, y, picture_.width, picture_.height, dc_.get(), 0, 0, SRCCOPY);
  if (old) SelectPalette(dc, old, TRUE);
}

}  // namespace picture
