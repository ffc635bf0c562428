// Stretch: the whole picture squeezed into a band that grows 4 pixels per
// side and step from the centre line of the picture's rectangle (appear), or shrinks toward
// it (erase).
#include "saver/effects/Draw.h"

namespace saver {
namespace {

EffectStep SetUp(EffectContext& c, int base) {
  EffectState& st = *c.State;
  st.StepPixels = 4;
  st.Progress = 4;
  st.HalfWidth = c.W / 2;
  st.HalfHeight = c.H / 2;
  return fx::Begin(c, base * 15 / 10);
}

}  // namespace

EffectStep StretchOn(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) return SetUp(c, fx::AppearInterval(c));
  const int e = st.Progress;
  const bool rows = c.EffectCoin == 1;  // a horizontal band growing up and down
  if (e <= (rows ? st.HalfHeight : st.HalfWidth)) {
    // Outside the band the screen keeps what it had: the band only grows.
    if (rows)
      fx::StretchImage(c, fx::Rect(c.X, c.Y + st.HalfHeight - e, c.X + c.W, c.Y + st.HalfHeight + e));
    else
      fx::StretchImage(c, fx::Rect(c.X + st.HalfWidth - e, c.Y, c.X + st.HalfWidth + e, c.Y + c.H));
    return fx::ShowAndAdvance(c, fx::ImageRect(c));
  }
  return fx::ShowWhole(c);
}

EffectStep StretchOff(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) return SetUp(c, fx::EraseInterval(c));
  const int e = st.Progress;
  const bool columns = c.EffectCoin == 1;  // narrows toward the vertical centre line
  const RECT r = fx::ImageRect(c);
  fx::Restore(c, r);
  if (e <= (columns ? st.HalfWidth : st.HalfHeight)) {
    if (columns)
      fx::StretchImage(c, fx::Rect(c.X + e, c.Y, c.X + c.W - e, c.Y + c.H));
    else
      fx::StretchImage(c, fx::Rect(c.X, c.Y + e, c.X + c.W, c.Y + c.H - e));
    return fx::ShowAndAdvance(c, r);
  }
  return fx::ShowCleared(c, r);
}

}  // namespace saver
