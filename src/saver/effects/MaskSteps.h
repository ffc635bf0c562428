// The step frame shared by Mesh and Fade: set-up, masks 0 to 16, and an
// empty closing step.
#pragma once
#include "saver/effects/Draw.h"

namespace saver::fx {

inline EffectStep MaskStep(EffectContext& c, MaskBand band, MixDirection direction) {
  EffectState& st = *c.State;
  if (!st.Begun) {
    const int base = direction == MixDirection::In ? AppearInterval(c) : EraseInterval(c);
    st.Progress = 0;
    return Begin(c, base * 3 + 15);
  }
  if (st.Progress > 16) return Finished();
  MaskedMix(c, band, st.Progress, direction, c.Image, ImageRect(c));
  ++st.Progress;
  return Continue(c);
}

}  // namespace saver::fx
