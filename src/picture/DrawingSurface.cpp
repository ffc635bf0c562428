#include "forms/Error.h"
#include "picture/Display.h"
#include "picture/NativeFormats.h"

namespace picture {

DrawingSurface::DrawingSurface(int width, int height, COLORREF background)
    : width_(width), height_(height), bitmap_(CreateDisplayBitmap(width, height)),
      dc_(CreateCompatibleDC(nullptr)) {
  if (!dc_) throw forms::Error("描画用のメモリーが不足しています");
  old_ = SelectObject(dc_.get(), bitmap_.get());
  forms::BrushHandle brush(CreateSolidBrush(background));
  RECT all = {0, 0, width, height};
  FillRect(dc_.get(), &all, brush.get());
}

LoadedPicture DrawingSurface::Finish() {
  SelectObject(dc_.get(), old_);
  LoadedPicture result;
  result.bitmap = std::move(bitmap_);
  result.width = width_;
  result.height = height_;
  return result;
}

}  // namespace picture
