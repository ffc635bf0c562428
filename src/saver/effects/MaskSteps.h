// The step frame shared by Mesh and Fade: set-up, masks 0 to 16, and an
// empty closing step.
#pragma once
#include "saver/effects/Draw.h"

namespace saver::fx {

inline void MaskStep(EffectContext& c, MaskBand band, MixDirection direction) {
  EffectState& st = *c.State;
  if (*c.StateEntered) {
    const int base = direction == MixDirection::In ? c.AppearInterval : c.EraseInterval;
    st.Progress = 0;
    return Begin(c, base * 3 + 15);
  }
  if (st.Progress > 16) return c.End();
  MaskedMix(c, band, st.Progress, direction, c.Image, ImageRect(c));
  ++st.Progress;
}

}  // namespace saver::fx
