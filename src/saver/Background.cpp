#include "saver/Background.h"

#include <algorithm>
#include <exception>

#include "forms/Gdi.h"
#include "picture/All.h"

namespace saver {

namespace {
// 黒色, 赤色, 青色, 緑色, 紫色, 青緑色, 濃紺色, 栗色, 空色, 灰色, 銀色, 白色
const COLORREF kBackColors[12] = {
    RGB(0, 0, 0),     RGB(255, 0, 0),   RGB(0, 0, 255),     RGB(0, 255, 0),
    RGB(255, 0, 255), RGB(0, 128, 128), RGB(0, 0, 128),     RGB(128, 0, 0),
    RGB(0, 255, 255), RGB(128, 128, 128), RGB(192, 192, 192), RGB(255, 255, 255)};

int CoverExtent(int client, int tile) {
  int n = client / tile + (client % tile ? 1 : 0);
  return (n < 1 ? 1 : n) * tile;
}

void BlackOfClient(SIZE client, forms::Bitmap& back) {
  back.Create(client.cx, client.cy);
  back.Fill(RGB(0, 0, 0));
}

void TileImage(SIZE client, TAll_nmsg& image, forms::Bitmap& back) {
  SIZE tile = {image.Width(), image.Height()};
  if (image.Empty() || tile.cx <= 0 || tile.cy <= 0) {
    BlackOfClient(client, back);
    return;
  }
  SIZE size = TiledExtent(client, tile);
  back.Create(size.cx, size.cy);
  forms::PaletteSelection palette(back.Dc(), image.Palette());
  // One copy of the picture at (0, 0), then the covered strip doubles along
  // each axis: the same tiles as one copy per cell, in few raster copies
  // even for a tiny picture.
  BitBlt(back.Dc(), 0, 0, tile.cx, tile.cy, image.Canvas(), 0, 0, SRCCOPY);
  const int width = size.cx, height = size.cy;
  for (int w = tile.cx; w < width; w *= 2)
    BitBlt(back.Dc(), w, 0, std::min(w, width - w), tile.cy, back.Dc(), 0, 0, SRCCOPY);
  for (int h = tile.cy; h < height; h *= 2)
    BitBlt(back.Dc(), 0, h, width, std::min(h, height - h), back.Dc(), 0, 0, SRCCOPY);
}
}  // namespace

COLORREF BackColorOf(int index) {
  int i = index & 0xFF;
  return i >= 1 && i <= 11 ? kBackColors[i] : RGB(0, 0, 0);
}

SIZE TiledExtent(SIZE client, SIZE tile) {
  return {CoverExtent(client.cx, tile.cx), CoverExtent(client.cy, tile.cy)};
}

void BuildBackBitmap(const BackgroundChoice& choice, SIZE client, TAll_nmsg& image, forms::Bitmap& back,
                     const RECT* desktop) {
  switch (choice.Kind) {
    case kBackColour:
      back.Create(client.cx, client.cy);
      back.Fill(BackColorOf(choice.Color));
      break;
    case kBackImage:
      try {
        image.SetPictureName(choice.FileName);
        TileImage(client, image, back);
      } catch (const std::exception&) {
        BlackOfClient(client, back);
      }
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
      BlackOfClient(client, back);
      break;
  }
}

}  // namespace saver
