// Scroll: the picture moves 2 pixels per step, in from the window edge
// nearest to its place or out through the nearest edge. Between steps the
// screen bitmap holds only the background under the moving picture; each
// step draws it, flushes it together with the strip it has just left, and
// takes it out of the screen bitmap again.
#include "saver/effects/Draw.h"

namespace saver {
namespace {

enum Mode { Right = 0, Left, Down, Up };

// The picture's rectangle at (u, v) widened by 2 pixels on the side it came from.
RECT Widened(const EffectContext& c, int u, int v) {
  RECT r = fx::Rect(u, v, u + c.W, v + c.H);
  switch (c.State->ScrollMode) {
    case Right: r.left -= 2; break;
    case Left: r.right += 2; break;
    case Down: r.top -= 2; break;
    default: r.bottom += 2; break;
  }
  return r;
}

// Draws the picture at the current position, shows it, and moves on.
EffectStep MoveStep(EffectContext& c) {
  EffectState& st = *c.State;
  fx::DrawImageAt(c, st.CurX, st.CurY);
  fx::FlushRect(c, Widened(c, st.CurX, st.CurY));
  fx::Restore(c, fx::Rect(st.CurX, st.CurY, st.CurX + c.W, st.CurY + c.H));
  switch (st.ScrollMode) {
    case Right: st.CurX += st.StepPixels; break;
    case Left: st.CurX -= st.StepPixels; break;
    case Down: st.CurY += st.StepPixels; break;
    default: st.CurY -= st.StepPixels; break;
  }
  return fx::Continue(c);
}

}  // namespace

EffectStep ScrollOn(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) {
    st.StepPixels = 2;
    if (c.EffectCoin == 1) {  // vertical, from the top unless below the centre
      st.CurX = c.X;
      const bool below = (c.ClientHeight - c.H) / 2 < c.Y;
      st.ScrollMode = below ? Up : Down;
      st.CurY = below ? c.ClientHeight : -c.H;
    } else {  // horizontal, from the left unless right of the centre
      st.CurY = c.Y;
      const bool right = (c.ClientWidth - c.W) / 2 < c.X;
      st.ScrollMode = right ? Left : Right;
      st.CurX = right ? c.ClientWidth : -c.W;
    }
    return fx::Begin(c, fx::AppearInterval(c));
  }
  bool passed;
  switch (st.ScrollMode) {
    case Right: passed = st.CurX > c.X; break;
    case Left: passed = st.CurX < c.X; break;
    case Down: passed = st.CurY > c.Y; break;
    default: passed = st.CurY < c.Y; break;
  }
  if (!passed) return MoveStep(c);
  fx::DrawImageAt(c, c.X, c.Y);
  fx::FlushRect(c, Widened(c, c.X, c.Y));
  return Finished();
}

EffectStep ScrollOff(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) {
    st.StepPixels = 2;
    st.CurX = c.X;
    st.CurY = c.Y;
    if (c.EffectCoin == 1)  // horizontal: out through the nearer side edge
      st.ScrollMode = (c.ClientWidth - c.W) / 2 < c.X ? Right : Left;
    else
      st.ScrollMode = (c.ClientHeight - c.H) / 2 < c.Y ? Down : Up;
    return fx::Begin(c, fx::AppearInterval(c));  // paced by the appear speed
  }
  bool gone;
  switch (st.ScrollMode) {
    case Right: gone = st.CurX > c.ClientWidth; break;
    case Left: gone = st.CurX + c.W < 0; break;
    case Down: gone = st.CurY > c.ClientHeight; break;
    default: gone = st.CurY + c.H < 0; break;
  }
  if (!gone) return MoveStep(c);
  const RECT r = Widened(c, st.CurX, st.CurY);
  fx::Restore(c, r);
  return fx::ShowCleared(c, r);
}

}  // namespace saver
