// Normal: the picture comes and goes in one call, without a transition.
#include "saver/effects/Draw.h"

namespace saver {

void NormalOn(EffectContext& c) {
  fx::DrawImageAt(c, c.X, c.Y);
  fx::FlushRect(c, fx::ImageRect(c));
  c.End(false);  // the interval was never changed
}

void NormalOff(EffectContext& c) {
  const RECT r = fx::ImageRect(c);
  fx::Restore(c, r);
  fx::FlushRect(c, r);
  c.End();
}

}  // namespace saver
