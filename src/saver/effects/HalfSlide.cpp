// HalfSlide: the picture cut into two halves that slide in (or out) from
// opposite edges in opposite directions, 2 pixels per step. For an odd
// extent the second half is the wider one. The steps are Slide's (Slide.cpp).
#include "saver/effects/Draw.h"

namespace saver {

EffectStep HalfSlideOn(EffectContext& c) { return fx::SlideStep(c, true, true); }
EffectStep HalfSlideOff(EffectContext& c) { return fx::SlideStep(c, false, true); }

}  // namespace saver
