// HalfSlide: the picture cut into two halves that slide in (or out) from
// opposite edges in opposite directions, 2 pixels per step. For an odd
// extent the second half is the wider one.
#include "saver/effects/Draw.h"

namespace saver {

EffectStep HalfSlideOn(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) return fx::BeginSlide(c, fx::AppearInterval(c));
  const int s = st.Progress, W = c.W, H = c.H, X = c.X, Y = c.Y;
  const int hw = st.HalfWidth, hh = st.HalfHeight;
  const bool vertical = c.EffectCoin == 1;  // left and right halves move up and down
  if (s <= (vertical ? H : W)) {
    if (vertical && st.SideFlag) {  // left rises from the bottom, right descends from the top
      fx::CopyImage(c, fx::Rect(0, 0, hw, s), X, Y + H - s);
      fx::CopyImage(c, fx::Rect(hw, H - s, W, H), X + hw, Y);
    } else if (vertical) {  // left descends from the top, right rises from the bottom
      fx::CopyImage(c, fx::Rect(0, H - s, hw, H), X, Y);
      fx::CopyImage(c, fx::Rect(hw, 0, W, s), X + hw, Y + H - s);
    } else if (st.SideFlag) {  // top from the right, bottom from the left
      fx::CopyImage(c, fx::Rect(0, 0, s, hh), X + W - s, Y);
      fx::CopyImage(c, fx::Rect(W - s, hh, W, H), X, Y + hh);
    } else {  // top from the left, bottom from the right
      fx::CopyImage(c, fx::Rect(W - s, 0, W, hh), X, Y);
      fx::CopyImage(c, fx::Rect(0, hh, s, H), X + W - s, Y + hh);
    }
    return fx::ShowAndAdvance(c, fx::ImageRect(c));
  }
  return fx::ShowWhole(c);
}

EffectStep HalfSlideOff(EffectContext& c) {
  EffectState& st = *c.State;
  if (!st.Begun) return fx::BeginSlide(c, fx::EraseInterval(c));
  const int s = st.Progress, W = c.W, H = c.H, X = c.X, Y = c.Y;
  const int hw = st.HalfWidth, hh = st.HalfHeight;
  const bool sideways = c.EffectCoin == 1;  // top and bottom halves move sideways
  const RECT r = fx::ImageRect(c);
  fx::Restore(c, r);
  if (s <= (sideways ? W : H)) {
    if (sideways && st.SideFlag) {  // top leaves to the left, bottom to the right
      fx::CopyImage(c, fx::Rect(s, 0, W, hh), X, Y);
      fx::CopyImage(c, fx::Rect(0, hh, W - s, H), X + s, Y + hh);
    } else if (sideways) {  // top leaves to the right, bottom to the left
      fx::CopyImage(c, fx::Rect(0, 0, W - s, hh), X + s, Y);
      fx::CopyImage(c, fx::Rect(s, hh, W, H), X, Y + hh);
    } else if (st.SideFlag) {  // left leaves through the top, right through the bottom
      fx::CopyImage(c, fx::Rect(0, s, hw, H), X, Y);
      fx::CopyImage(c, fx::Rect(hw, 0, W, H - s), X + hw, Y + s);
    } else {  // left leaves through the bottom, right through the top
      fx::CopyImage(c, fx::Rect(0, 0, hw, H - s), X, Y + s);
      fx::CopyImage(c, fx::Rect(hw, s, W, H), X + hw, Y);
    }
    return fx::ShowAndAdvance(c, r);
  }
  return fx::ShowCleared(c, r);
}

}  // namespace saver
