// The effect kinds, in the order of the stored switches (key::EffectSwitch)
// and of the dialog's check boxes.
#pragma once

namespace settings {

enum EffectKind : int { Normal = 0, Blind, Scroll, Stretch, Slide, HalfSlide, Mesh, Fade };
constexpr int kEffectKinds = Fade + 1;

}  // namespace settings
