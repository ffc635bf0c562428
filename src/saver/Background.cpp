#include "saver/Background.h"

#include <algorithm>

#include "forms/Gdi.h"

namespace saver {

const BackColour kBackColours[kBackColourCount] = {
    {"黒色", RGB(0, 0, 0)},         {"赤色", RGB(255, 0, 0)},     {"青色", RGB(0, 0, 255)},
    {"緑色", RGB(0, 255, 0)},       {"紫色", RGB(255, 0, 255)},   {"青緑色", RGB(0, 128, 128)},
    {"濃紺色", RGB(0, 0, 128)},     {"栗色", RGB(128, 0, 0)},     {"空色", RGB(0, 255, 255)},
    {"灰色", RGB(128, 128, 128)},   {"銀色", RGB(192, 192, 192)}, {"白色", RGB(255, 255, 255)}};

namespace {

int CoverExtent(int client, int tile) {
  int n = client / tile + (client % tile ? 1 : 0);
  return (n < 1 ? 1 : n) * tile;
}

void FillClient(SIZE client, COLORREF colour, forms::Bitmap& back) {
  back.Create(client.cx, client.cy);
  back.Fill(colour);
}

}  // namespace

COLORREF BackColorOf(int index) {
  int i = index & 0xFF;
  return i >= 1 && i < kBackColourCount ? kBackColours[i].Rgb : RGB(0, 0, 0);
}

SIZE TiledExtent(SIZE client, SIZE tile) {
  return {CoverExtent(client.cx, tile.cx), CoverExtent(client.cy, tile.cy)};
}

void BuildBackBitmap(const BackgroundChoice& choice, SIZE client, forms::Bitmap& back, const RECT* desktop) {
  switch (choice.Kind) {
    case kBackColour:
    case kBackImage:
      FillClient(client, BackColorOf(choice.Color), back);
      break;
    case kBackDesktop: {
      const RECT primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      const RECT& r = desktop ? *desktop : primary;
      const int w = r.right - r.left, h = r.bottom - r.top;
      back.Create(w, h);
      forms::WindowDc screen(nullptr);
      BitBlt(back.Dc(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
      break;
    }
    default:
      FillClient(client, RGB(0, 0, 0), back);
      break;
  }
}

void TileBackBitmap(const picture::LoadedPicture& tile, SIZE client, forms::Bitmap& back) {
  if (!tile.bitmap || tile.width <= 0 || tile.height <= 0) return FillClient(client, RGB(0, 0, 0), back);
  SIZE size = TiledExtent(client, {tile.width, tile.height});
  // A tile larger than the client (a camera photo): only its top-left part shows.
  if (tile.width > client.cx) size.cx = std::max<LONG>(client.cx, 1);
  if (tile.height > client.cy) size.cy = std::max<LONG>(client.cy, 1);
  back.Create(size.cx, size.cy);
  const int tileW = std::min<int>(tile.width, size.cx), tileH = std::min<int>(tile.height, size.cy);
  forms::MemoryDc source(CreateCompatibleDC(back.Dc()));
  forms::Selection picture(source.get(), tile.bitmap.get());
  forms::PaletteSelection palette(back.Dc(), tile.palette.get());
  // One copy of the picture at (0, 0), then the covered strip doubles along
  // each axis: the same tiles as one copy per cell, in few raster copies
  // even for a tiny picture.
  BitBlt(back.Dc(), 0, 0, tileW, tileH, source.get(), 0, 0, SRCCOPY);
  const int w = back.Width(), h = back.Height();
  for (int x = tileW; x < w; x *= 2) BitBlt(back.Dc(), x, 0, std::min(x, w - x), tileH, back.Dc(), 0, 0, SRCCOPY);
  for (int y = tileH; y < h; y *= 2) BitBlt(back.Dc(), 0, y, w, std::min(y, h - y), back.Dc(), 0, 0, SRCCOPY);
}

}  // namespace saver
