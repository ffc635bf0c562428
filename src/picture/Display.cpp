#include "picture/Display.h"

#include "forms/Error.h"

namespace picture {

namespace {

int RealScreenDepth() {
  forms::WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), BITSPIXEL);
}

ScreenDepthQuery depthQuery = RealScreenDepth;

}  // namespace

int ScreenBitsPerPixel() { return depthQuery(); }

void SetScreenDepthQuery(ScreenDepthQuery query) { depthQuery = query ? query : RealScreenDepth; }

int ScreenPixelsPerInchX() {
  forms::WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

int ScreenPixelsPerInchY() {
  forms::WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

forms::BitmapHandle CreateDisplayBitmap(int width, int height) {
  forms::WindowDc screen(nullptr);
  forms::BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  if (!bitmap) throw forms::Error("画像用のメモリーが不足しています");
  return bitmap;
}

}  // namespace picture
