// Normal: the picture comes and goes in one call, without a transition.
#include "saver/effects/Draw.h"

namespace saver {

EffectStep NormalOn(EffectContext& c) { return fx::ShowWhole(c); }

EffectStep NormalOff(EffectContext& c) {
  const RECT r = fx::ImageRect(c);
  fx::Restore(c, r);
  return fx::ShowCleared(c, r);
}

}  // namespace saver
