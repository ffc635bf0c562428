// Fade: an ordered dither that turns one more pixel of every 4 x 4 block
// per step, in seventeen masked-mix steps.
#include "saver/effects/MaskSteps.h"

namespace saver {

void FadeOn(EffectContext& c) { fx::MaskStep(c, MaskBand::Fade, MixDirection::In); }
void FadeOff(EffectContext& c) { fx::MaskStep(c, MaskBand::Fade, MixDirection::Out); }

}  // namespace saver
