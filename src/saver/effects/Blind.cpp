// Blind: a venetian blind of period four, opened (or closed) from both ends
// at once. Two passes over the lines with one empty step after each. The
// first pass takes lines 0, 4, 8, ... together with their mirror images
// counted from the far end; the second pass starts one line (or, when the
// extent leaves a remainder of 2 or 3 modulo 4, two lines) further on. The
// pass offset and the mirror shift are chosen from the extent so that the
// four sequences of lines cover every residue modulo 4.
#include "saver/effects/Draw.h"

namespace saver {
namespace {

EffectStep SetUp(EffectContext& c, bool rows) {
  EffectState& st = *c.State;
  st.Extent = rows ? c.H : c.W;
  const int m = st.Extent % 4;
  st.PassOffset = m / 2;
  st.MirrorShift = m % 2;
  st.PassStart = 1;
  st.Line = 1;
  return fx::Begin(c, fx::AppearInterval(c));  // both directions run at the appear speed
}

// Line i (a row or a column of the picture's rectangle) from `src`, whose origin is at (ox, oy).
void CopyLine(const EffectContext& c, bool rows, int i, HDC src, int ox, int oy) {
  if (c.Quiet) return;
  if (rows)
    BitBlt(c.Screen, c.X, c.Y + i, c.W, 1, src, ox, oy + i, SRCCOPY);
  else
    BitBlt(c.Screen, c.X + i, c.Y, 1, c.H, src, ox + i, oy, SRCCOPY);
}

// One step; returns true when the final step has been reached (nothing drawn).
bool Step(EffectContext& c, bool rows, HDC src, int ox, int oy) {
  EffectState& st = *c.State;
  if (st.PassStart > st.PassOffset + 2) return true;
  if (st.Line > st.Extent) {  // the empty step between (and after) the passes
    st.PassStart += st.PassOffset + 1;
    st.Line = st.PassStart;
    return false;
  }
  CopyLine(c, rows, st.Line - 1, src, ox, oy);
  const int mirror = st.Extent - st.MirrorShift - st.Line;
  if (mirror >= 0) CopyLine(c, rows, mirror, src, ox, oy);
  fx::FlushRect(c, fx::ImageRect(c));
  st.Line += 4;
  return false;
}

}  // namespace

EffectStep BlindOn(EffectContext& c) {
  const bool rows = c.EffectCoin == 1;
  if (!c.State->Begun) return SetUp(c, rows);
  if (!Step(c, rows, c.Image, 0, 0)) return fx::Continue(c);
  return fx::ShowWhole(c);
}

EffectStep BlindOff(EffectContext& c) {
  const bool rows = c.EffectCoin != 1;  // erasing works across the other axis
  if (!c.State->Begun) return SetUp(c, rows);
  if (!Step(c, rows, c.Back, c.X, c.Y)) return fx::Continue(c);
  fx::Restore(c, fx::ImageRect(c));
  return fx::ShowCleared(c, fx::ImageRect(c));
}

}  // namespace saver
