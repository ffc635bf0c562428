// Fade: an ordered dither that turns one more pixel of every 4 x 4 block
// per step, in seventeen masked-mix steps.
#include "saver/effects/MaskSteps.h"

namespace saver {

EffectStep FadeOn(EffectContext& c) { return fx::MaskStep(c, MaskBand::Fade, MixDirection::In); }
EffectStep FadeOff(EffectContext& c) { return fx::MaskStep(c, MaskBand::Fade, MixDirection::Out); }

}  // namespace saver
