#include "saver/effects/Draw.h"

namespace saver::fx {

void Begin(EffectContext& c, int interval) {
  if (c.SetInterval) c.SetInterval(interval);
  *c.StateEntered = false;
}

void CopyImage(const EffectContext& c, const RECT& src, int x, int y) {
  const int w = src.right - src.left, h = src.bottom - src.top;
  if (w <= 0 || h <= 0) return;  // GDI would mirror negative extents
  BitBlt(c.Screen, x, y, w, h, c.Image, src.left, src.top, SRCCOPY);
}

void DrawImageAt(const EffectContext& c, int x, int y) {
  CopyImage(c, Rect(0, 0, c.W, c.H), x, y);
}

void Restore(const EffectContext& c, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  BitBlt(c.Screen, r.left, r.top, w, h, c.Back, r.left, r.top, SRCCOPY);
}

void StretchImage(const EffectContext& c, const RECT& dst) {
  const int w = dst.right - dst.left, h = dst.bottom - dst.top;
  if (w <= 0 || h <= 0 || c.W <= 0 || c.H <= 0) return;
  HPALETTE old = c.Palette ? SelectPalette(c.Screen, c.Palette, FALSE) : nullptr;
  if (old) RealizePalette(c.Screen);
  const int oldMode = SetStretchBltMode(c.Screen, COLORONCOLOR);
  StretchBlt(c.Screen, dst.left, dst.top, w, h, c.Image, 0, 0, c.W, c.H, SRCCOPY);
  SetStretchBltMode(c.Screen, oldMode);
  if (old) SelectPalette(c.Screen, old, FALSE);
}

void FlushRect(const EffectContext& c, const RECT& r) {
  if (c.Flush) c.Flush(r);
}

}  // namespace saver::fx
