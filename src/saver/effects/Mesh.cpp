// Mesh: every 8 x 8 cell of the window grid fills from its bottom-left
// corner toward its top-right corner, in seventeen masked-mix steps.
#include "saver/effects/MaskSteps.h"

namespace saver {

EffectStep MeshOn(EffectContext& c) { return fx::MaskStep(c, MaskBand::Mesh, MixDirection::In); }
EffectStep MeshOff(EffectContext& c) { return fx::MaskStep(c, MaskBand::Mesh, MixDirection::Out); }

}  // namespace saver
