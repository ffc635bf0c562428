// Blind: a venetian blind of period four, opened (or closed) from both ends
// at once. Two passes over the lines with one empty step after each; the
// first pass takes lines 0, 4, 8, ... and their mirrors E - s - 1, E - s - 5,
// ..., the second starts at 1 + a, so with a = (E mod 4) div 2 and
// s = E mod 2 the four sequences cover every residue modulo 4.
#include "saver/effects/Draw.h"

namespace saver {
namespace {

void SetUp(EffectContext& c, bool rows) {
  EffectState& st = *c.State;
  st.Extent = rows ? c.H : c.W;
  const int m = st.Extent % 4;
  st.A = m / 2;
  st.S = m % 2;
  st.PassStart = 1;
  st.Line = 1;
  fx::Begin(c, c.AppearInterval);  // both directions run at the appear speed
}

// Line i (a row or a column of R_img) from `src`, whose origin is at (ox, oy).
void CopyLine(const EffectContext& c, bool rows, int i, HDC src, int ox, int oy) {
  if (rows)
    BitBlt(c.Screen, c.X, c.Y + i, c.W, 1, src, ox, oy + i, SRCCOPY);
  else
    BitBlt(c.Screen, c.X + i, c.Y, 1, c.H, src, ox + i, oy, SRCCOPY);
}

// One step; returns true when the final step has been reached (nothing drawn).
bool Step(EffectContext& c, bool rows, HDC src, int ox, int oy) {
  EffectState& st = *c.State;
  if (st.PassStart > st.A + 2) return true;
  if (st.Line > st.Extent) {  // the empty step between (and after) the passes
    st.PassStart += st.A + 1;
    st.Line = st.PassStart;
    return false;
  }
  CopyLine(c, rows, st.Line - 1, src, ox, oy);
  const int mirror = st.Extent - st.S - st.Line;
  if (mirror >= 0) CopyLine(c, rows, mirror, src, ox, oy);
  fx::FlushRect(c, fx::ImageRect(c));
  st.Line += 4;
  return false;
}

}  // namespace

void BlindOn(EffectContext& c) {
  const bool rows = c.EffectCoin == 1;
  if (*c.StateEntered) return SetUp(c, rows);
  if (!Step(c, rows, c.Image, 0, 0)) return;
  fx::DrawImageAt(c, c.X, c.Y);
  fx::FlushRect(c, fx::ImageRect(c));
  c.End();
}

void BlindOff(EffectContext& c) {
  const bool rows = c.EffectCoin != 1;  // erasing works across the other axis
  if (*c.StateEntered) return SetUp(c, rows);
  if (!Step(c, rows, c.Back, c.X, c.Y)) return;
  fx::Restore(c, fx::ImageRect(c));
  fx::FlushRect(c, fx::ImageRect(c));
  c.End();
}

}  // namespace saver
