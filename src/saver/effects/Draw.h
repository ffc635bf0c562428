// Drawing primitives shared by the effect routines. All of them draw into
// the screen bitmap; parts outside a bitmap are clipped by GDI.
#pragma once
#include "saver/effects/Effects.h"

namespace saver::fx {

inline RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

// R_img: where the picture stands in client coordinates.
inline RECT ImageRect(const EffectContext& c) { return Rect(c.X, c.Y, c.X + c.W, c.Y + c.H); }

// First call of an effect: request its interval and leave the set-up state.
void Begin(EffectContext& c, int interval);

// Copies picture rows `src` to the screen with its top-left corner at (x, y).
void CopyImage(const EffectContext& c, const RECT& src, int x, int y);

// The whole picture with its top-left corner at (x, y).
void DrawImageAt(const EffectContext& c, int x, int y);

// The background under r back into the screen bitmap.
void Restore(const EffectContext& c, const RECT& r);

// The whole picture scaled into dst, whole pixels dropped or repeated.
void StretchImage(const EffectContext& c, const RECT& dst);

void FlushRect(const EffectContext& c, const RECT& r);

}  // namespace saver::fx
