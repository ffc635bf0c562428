#include "EffectRig.h"

#include <algorithm>

namespace fxtest {

Dib::Dib(int w, int h, int bpp, const std::vector<RGBQUAD>& colors) : bpp_(bpp) {
  canvas_.CreateDib(w, h, bpp, colors.data(), static_cast<int>(colors.size()));
}

uint32_t Dib::Get(int x, int y) const {
  GdiFlush();
  const uint8_t* row = canvas_.Bits() + y * canvas_.Stride();
  return bpp_ == 8 ? row[x] : reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
}

void Dib::Set(int x, int y, uint32_t v) {
  uint8_t* row = canvas_.Bits() + y * canvas_.Stride();
  if (bpp_ == 8)
    row[x] = static_cast<uint8_t>(v);
  else
    reinterpret_cast<uint32_t*>(row)[x] = v;
}

std::vector<RGBQUAD> TestPalette() {
  std::vector<RGBQUAD> p(256);
  for (int i = 1; i < 255; ++i)
    p[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>((i * 37) & 0x7F), 0};
  p[0] = RGBQUAD{0, 0, 0, 0};
  p[255] = RGBQUAD{255, 255, 255, 0};
  return p;
}

EffectRig::EffectRig(const Geometry& geo, int coin, int bits) : g(geo), bpp(bits) {
  const auto colors = bpp == 8 ? TestPalette() : std::vector<RGBQUAD>{};
  imagePx = bpp == 8 ? PixelFn(ImageIndex) : PixelFn(ImagePixel);
  backPx = bpp == 8 ? PixelFn(BackIndex) : PixelFn(BackPixel);
  screen = std::make_unique<Dib>(g.CW, g.CH, bpp, colors);
  back = std::make_unique<Dib>(g.CW, g.CH, bpp, colors);
  work = std::make_unique<Dib>(g.CW, g.CH, bpp, colors);
  window = std::make_unique<Dib>(g.CW, g.CH, bpp, colors);
  pattern = std::make_unique<Dib>(8, 8, bpp, colors);
  image = std::make_unique<Dib>(g.W, g.H, bpp, colors);
  for (int y = 0; y < g.CH; ++y)
    for (int x = 0; x < g.CW; ++x) {
      back->Set(x, y, backPx(x, y));
      screen->Set(x, y, backPx(x, y));
      window->Set(x, y, backPx(x, y));
    }
  for (int y = 0; y < g.H; ++y)
    for (int x = 0; x < g.W; ++x) image->Set(x, y, imagePx(x, y));

  strip.Adopt(saver::CreateMaskStrip());

  ctx.Screen = screen->dc();
  ctx.Back = back->dc();
  ctx.Work = work->dc();
  ctx.Pattern = pattern->dc();
  ctx.PatternBitmap = pattern->bitmap();
  ctx.MaskStrip = strip.Dc();
  ctx.Image = image->dc();
  ctx.W = g.W;
  ctx.H = g.H;
  ctx.X = g.X;
  ctx.Y = g.Y;
  ctx.ClientWidth = g.CW;
  ctx.ClientHeight = g.CH;
  ctx.EffectCoin = coin;
  ctx.State = &state;
  ctx.Flush = [this](const RECT& r) {
    flushes.push_back(r);
    BitBlt(window->dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, screen->dc(), r.left,
           r.top, SRCCOPY);
  };
  ctx.Random = [this](int bound) { return randomValue % bound; };
}

void EffectRig::Run(saver::EffectRoutine routine) {
  const bool first = entered;
  if (first) state = saver::EffectState();
  const saver::EffectStep r = routine(ctx);
  if (first) {
    entered = false;
    if (!r.Done) intervals.push_back(r.NextInterval);
  }
  if (r.Done) {
    show = saver::Next(show);
    entered = true;
    if (!intervals.empty()) intervals.push_back(saver::kIdleInterval);
  }
}

void EffectRig::ShowImage() {
  for (int y = 0; y < g.H; ++y)
    for (int x = 0; x < g.W; ++x) {
      const int px = g.X + x, py = g.Y + y;
      if (px < 0 || py < 0 || px >= g.CW || py >= g.CH) continue;
      screen->Set(px, py, imagePx(x, y));
      window->Set(px, py, imagePx(x, y));
    }
}

void EffectRig::ClearImageRect() {
  for (int y = std::max(0, g.Y); y < std::min(g.CH, g.Y + g.H); ++y)
    for (int x = std::max(0, g.X); x < std::min(g.CW, g.X + g.W); ++x)
      screen->Set(x, y, backPx(x, y));
}

}  // namespace fxtest
