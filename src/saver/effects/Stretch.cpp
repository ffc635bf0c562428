// Stretch: the whole picture squeezed into a band that grows 4 pixels per
// side and step from the centre line of R_img (appear), or shrinks toward
// it (erase).
#include "saver/effects/Draw.h"

namespace saver {
namespace {

void SetUp(EffectContext& c, int base) {
  EffectState& st = *c.State;
  st.EffectStep = 4;
  st.Progress = 4;
  st.HalfWidth = c.W / 2;
  st.HalfHeight = c.H / 2;
  fx::Begin(c, base * 15 / 10);
}

}  // namespace

void StretchOn(EffectContext& c) {
  EffectState& st = *c.State;
  if (*c.StateEntered) return SetUp(c, c.AppearInterval);
  const int e = st.Progress;
  const bool rows = c.EffectCoin == 1;  // a horizontal band growing up and down
  if (e <= (rows ? st.HalfHeight : st.HalfWidth)) {
    // Outside the band the screen keeps what it had: the band only grows.
    if (rows)
      fx::StretchImage(c, fx::Rect(c.X, c.Y + st.HalfHeight - e, c.X + c.W, c.Y + st.HalfHeight + e));
    else
      fx::StretchImage(c, fx::Rect(c.X + st.HalfWidth - e, c.Y, c.X + st.HalfWidth + e, c.Y + c.H));
    fx::FlushRect(c, fx::ImageRect(c));
    st.Progress += st.EffectStep;
    return;
  }
  fx::DrawImageAt(c, c.X, c.Y);
  fx::FlushRect(c, fx::ImageRect(c));
  c.End();
}

void StretchOff(EffectContext& c) {
  EffectState& st = *c.State;
  if (*c.StateEntered) return SetUp(c, c.EraseInterval);
  const int e = st.Progress;
  const bool columns = c.EffectCoin == 1;  // narrows toward the vertical centre line
  const RECT r = fx::ImageRect(c);
  fx::Restore(c, r);
  if (e <= (columns ? st.HalfWidth : st.HalfHeight)) {
    if (columns)
      fx::StretchImage(c, fx::Rect(c.X + e, c.Y, c.X + c.W - e, c.Y + c.H));
    else
      fx::StretchImage(c, fx::Rect(c.X, c.Y + e, c.X + c.W, c.Y + c.H - e));
    fx::FlushRect(c, r);
    st.Progress += st.EffectStep;
    return;
  }
  fx::FlushRect(c, r);
  c.End();
}

}  // namespace saver
