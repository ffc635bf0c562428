#include "saver/effects/Draw.h"

#include "forms/Gdi.h"

namespace saver::fx {

EffectStep Begin(EffectContext& c, int interval) {
  c.State->Begun = true;
  c.State->Interval = interval;
  return {false, interval};
}

EffectStep BeginSlide(EffectContext& c, int interval) {
  EffectState& st = *c.State;
  st.StepPixels = 2;
  st.Progress = 2;
  st.SideFlag = c.Random ? c.Random(100) % 2 : 0;
  st.HalfWidth = c.W / 2;
  st.HalfHeight = c.H / 2;
  return Begin(c, interval);
}

void CopyImage(const EffectContext& c, const RECT& src, int x, int y) {
  const int w = src.right - src.left, h = src.bottom - src.top;
  if (w <= 0 || h <= 0 || c.Quiet) return;  // GDI would mirror negative extents
  BitBlt(c.Screen, x, y, w, h, c.Image, src.left, src.top, SRCCOPY);
}

void DrawImageAt(const EffectContext& c, int x, int y) {
  CopyImage(c, Rect(0, 0, c.W, c.H), x, y);
}

void Restore(const EffectContext& c, const RECT& r) {
  // Runs even while a step is only counted: what it takes away (the picture
  // standing as an erase begins, for one) must be gone when the last step shows.
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  BitBlt(c.Screen, r.left, r.top, w, h, c.Back, r.left, r.top, SRCCOPY);
}

void StretchImage(const EffectContext& c, const RECT& dst) {
  const int w = dst.right - dst.left, h = dst.bottom - dst.top;
  if (w <= 0 || h <= 0 || c.W <= 0 || c.H <= 0 || c.Quiet) return;
  forms::PaletteSelection palette(c.Screen, c.Palette);
  forms::StretchMode mode(c.Screen, COLORONCOLOR);
  StretchBlt(c.Screen, dst.left, dst.top, w, h, c.Image, 0, 0, c.W, c.H, SRCCOPY);
}

void FlushRect(const EffectContext& c, const RECT& r) {
  if (c.Flush) c.Flush(r);
}

EffectStep ShowAndAdvance(EffectContext& c, const RECT& r) {
  FlushRect(c, r);
  c.State->Progress += c.State->StepPixels;
  return Continue(c);
}

EffectStep ShowWhole(const EffectContext& c) {
  DrawImageAt(c, c.X, c.Y);
  FlushRect(c, ImageRect(c));
  return Finished();
}

EffectStep ShowCleared(const EffectContext& c, const RECT& r) {
  FlushRect(c, r);
  return Finished();
}

}  // namespace saver::fx
