#include "dialogs/ImagePlacement.h"

namespace {
// Centres the window in the free band [start, start + room) along one axis
// (halving rounds down); a window larger than the band goes to `overflow`
// and takes the band's size.
void Fit(int start, int room, int overflow, int& pos, int& size) {
  if (room >= size) {
    pos = start + (room - size) / 2;
  } else {
    pos = overflow;
    size = room;
  }
}
}  // namespace

WindowBounds PlaceBesideTaskBar(int sw, int sh, const RECT* bar, WindowBounds w) {
  if (!bar) return w;
  const int L = bar->left, T = bar->top, R = bar->right, B = bar->bottom;
  // The vertical rule of each case comes before the horizontal one.
  if (T > 0 && sh <= B) {  // at the bottom
    Fit(0, T, 0, w.top, w.height);
    Fit(0, sw, 0, w.left, w.width);
  } else if (T <= 0 && sh > B) {  // at the top: an overflowing window starts one below B
    Fit(B, sh - B, B + 1, w.top, w.height);
    Fit(0, sw, 0, w.left, w.width);
  } else if (L > 0 && sw <= R) {  // at the right
    Fit(0, sh, 0, w.top, w.height);
    Fit(0, L, 0, w.left, w.width);
  } else if (L <= 0 && sw > R) {  // at the left: an overflowing window starts one beyond R
    Fit(0, sh, 0, w.top, w.height);
    Fit(R, sw - R, R + 1, w.left, w.width);
  }
  return w;
}
