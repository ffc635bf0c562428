// Slide: the picture slides into its own rectangle through one of its
// edges, 2 pixels per step (appear), or out of it (erase). Nothing is drawn
// outside the picture's rectangle.
#include "saver/effects/Draw.h"

namespace saver {

EffectStep SlideOn(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) return fx::BeginSlide(c, fx::AppearInterval(c));
  const int s = st.Progress, W = c.W, H = c.H, X = c.X, Y = c.Y;
  const bool vertical = c.EffectCoin == 1;
  if (s <= (vertical ? H : W)) {
    // The leading strip of depth s, placed at the far side of the picture's rectangle.
    if (vertical && st.SideFlag)  // up from the bottom edge
      fx::CopyImage(c, fx::Rect(0, 0, W, s), X, Y + H - s);
    else if (vertical)  // down from the top edge
      fx::CopyImage(c, fx::Rect(0, H - s, W, H), X, Y);
    else if (st.SideFlag)  // left from the right edge
      fx::CopyImage(c, fx::Rect(0, 0, s, H), X + W - s, Y);
    else  // right from the left edge
      fx::CopyImage(c, fx::Rect(W - s, 0, W, H), X, Y);
    return fx::ShowAndAdvance(c, fx::ImageRect(c));
  }
  return fx::ShowWhole(c);
}

EffectStep SlideOff(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) return fx::BeginSlide(c, fx::EraseInterval(c));
  const int s = st.Progress, W = c.W, H = c.H, X = c.X, Y = c.Y;
  const bool horizontal = c.EffectCoin == 1;  // erasing slides across the other axis
  const RECT r = fx::ImageRect(c);
  fx::Restore(c, r);
  if (s <= (horizontal ? W : H)) {
    // What is left of the picture, shifted by s.
    if (horizontal && st.SideFlag)  // out through the left edge
      fx::CopyImage(c, fx::Rect(s, 0, W, H), X, Y);
    else if (horizontal)  // out through the right edge
      fx::CopyImage(c, fx::Rect(0, 0, W - s, H), X + s, Y);
    else if (st.SideFlag)  // out through the top edge
      fx::CopyImage(c, fx::Rect(0, s, W, H), X, Y);
    else  // out through the bottom edge
      fx::CopyImage(c, fx::Rect(0, 0, W, H - s), X, Y + s);
    return fx::ShowAndAdvance(c, r);
  }
  return fx::ShowCleared(c, r);
}

}  // namespace saver
