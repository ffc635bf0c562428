// Kind number to routine, and speed to step interval.
#include "saver/effects/Effects.h"

#include <algorithm>

namespace saver {

int BaseInterval(int speed) {
  // The dialog keeps speeds within 0..400; a hand-edited value outside that
  // range is taken as the nearest end, so the timer always gets 5..405 ms.
  return 405 - std::clamp(speed, 0, 400);
}

void AppearStep(EffectContext& c, int kind) {
  switch (kind) {
    case Normal: NormalOn(c); break;
    case Scroll: ScrollOn(c); break;
    case Stretch: StretchOn(c); break;
    case Slide: SlideOn(c); break;
    case HalfSlide: HalfSlideOn(c); break;
    case Mesh: MeshOn(c); break;
    case Fade: FadeOn(c); break;
    default: BlindOn(c); break;  // Blind, and any kind out of range
  }
}

void EraseStep(EffectContext& c, int kind) {
  switch (kind) {
    case Normal: NormalOff(c); break;
    case Scroll: ScrollOff(c); break;
    case Stretch: StretchOff(c); break;
    case Slide: SlideOff(c); break;
    case HalfSlide: HalfSlideOff(c); break;
    case Mesh: MeshOff(c); break;
    case Fade: FadeOff(c); break;
    default: BlindOff(c); break;
  }
}

}  // namespace saver
