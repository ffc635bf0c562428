// Kind number to routine, and speed to step interval.
#include "saver/effects/Effects.h"

#include <algorithm>

namespace saver {

int BaseInterval(int speed) {
  // The dialog keeps speeds within 0..400; a hand-edited value outside that
  // range is taken as the nearest end, so the timer always gets 5..405 ms.
  return 405 - std::clamp(speed, 0, 400);
}

namespace {
// Indexed by EffectKind.
constexpr EffectRoutine kAppear[kEffectKinds] = {NormalOn, BlindOn,     ScrollOn, StretchOn,
                                                 SlideOn,  HalfSlideOn, MeshOn,   FadeOn};
constexpr EffectRoutine kErase[kEffectKinds] = {NormalOff, BlindOff,     ScrollOff, StretchOff,
                                                SlideOff,  HalfSlideOff, MeshOff,   FadeOff};
bool Known(int kind) { return kind >= 0 && kind < kEffectKinds; }
}  // namespace

bool RedrawsWholeState(int kind) { return Known(kind) && kind != Blind; }

EffectRoutine AppearRoutine(int kind) { return Known(kind) ? kAppear[kind] : BlindOn; }
EffectRoutine EraseRoutine(int kind) { return Known(kind) ? kErase[kind] : BlindOff; }

}  // namespace saver
