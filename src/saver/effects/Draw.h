// Drawing primitives shared by the effect routines. All of them draw into
// the screen bitmap; parts outside a bitmap are clipped by GDI.
#pragma once
#include "saver/effects/Effects.h"

namespace saver::fx {

inline RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

// Where the picture stands, in client coordinates.
inline RECT ImageRect(const EffectContext& c) { return Rect(c.X, c.Y, c.X + c.W, c.Y + c.H); }

// Step intervals of the two speeds.
inline int AppearInterval(const EffectContext& c) { return BaseInterval(c.AppearSpeed); }
inline int EraseInterval(const EffectContext& c) { return BaseInterval(c.EraseSpeed); }

// The report of the set-up call: the effect has begun and wants `interval`.
EffectStep Begin(EffectContext& c, int interval);
// The report of a drawing step that is not the last.
inline EffectStep Continue(const EffectContext& c) { return {false, c.State->Interval}; }

// Set-up of Slide and HalfSlide: 2 pixels a step, a random side.
EffectStep BeginSlide(EffectContext& c, int interval);

// Copies picture rows `src` to the screen with its top-left corner at (x, y).
void CopyImage(const EffectContext& c, const RECT& src, int x, int y);

// One call of Slide or HalfSlide (set-up first, then a step of 2 pixels).
// The picture, or each half of it, slides along its height when the coin
// is 1 for appearing or 0 for erasing, else along its width; the side flag
// picks the way. Two halves move in opposite directions.
EffectStep SlideStep(EffectContext& c, bool appear, bool halves);

// The whole picture with its top-left corner at (x, y).
void DrawImageAt(const EffectContext& c, int x, int y);

// The background under r back into the screen bitmap.
void Restore(const EffectContext& c, const RECT& r);

// The whole picture scaled into dst, whole pixels dropped or repeated.
void StretchImage(const EffectContext& c, const RECT& dst);

void FlushRect(const EffectContext& c, const RECT& r);

// A band or strip step that is not the last: r shown, the band grown by a step.
EffectStep ShowAndAdvance(EffectContext& c, const RECT& r);
// The last step of an appearing effect: the whole picture in its place, shown.
EffectStep ShowWhole(const EffectContext& c);
// The last step of an erasing effect: r (already restored) shown.
EffectStep ShowCleared(const EffectContext& c, const RECT& r);

}  // namespace saver::fx
