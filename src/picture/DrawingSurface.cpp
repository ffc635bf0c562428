#include "forms/Error.h"
#include "picture/Display.h"
#include "picture/NativeFormats.h"

namespace picture {

DrawingSurface::DrawingSurface(int width, int height, COLORREF background) {
  canvas_.Adopt(CreateDisplayBitmap(width, height).release());
  if (!canvas_.Dc()) throw forms::Error("描画用のメモリーが不足しています");
  canvas_.Fill(background);
}

LoadedPicture DrawingSurface::Finish() {
  LoadedPicture result;
  result.width = canvas_.Width();
  result.height = canvas_.Height();
  result.bitmap = canvas_.Release();
  return result;
}

}  // namespace picture
