// The masked mix: image and background combined through an 8 x 8 mask
// with raster operations only, so every result pixel is exactly one of the
// two at any colour depth (on a palette display AND and OR act on whole
// palette indices, and the mask is all bits set or all bits clear).
#include "forms/Gdi.h"
#include "saver/effects/Draw.h"

namespace saver {
namespace {

// Mask k of the band into the pattern bitmap: bit 1 white, bit 0 black
// (monochrome source: 0 takes the text colour, 1 the background colour).
void LoadMask(const EffectContext& c, MaskBand band, int k, DWORD rop) {
  SetTextColor(c.Pattern, RGB(0, 0, 0));
  SetBkColor(c.Pattern, RGB(255, 255, 255));
  BitBlt(c.Pattern, 0, 0, 8, 8, c.MaskStrip, 8 * k, static_cast<int>(band), rop);
}

// dst = source AND pattern over target (MERGECOPY), the brush anchored at
// the client origin. Done as a plain copy followed by a destination-AND-
// pattern fill: Wine misplaces the brush origin in BitBlt with raster
// operations that combine source and pattern, while PatBlt anchors it
// correctly; on Windows both forms give the same pixels.
constexpr DWORD kDestAndPattern = 0x00A000C9;  // DPa

void MergeThroughPattern(const EffectContext& c, HDC dst, HDC src, int sx, int sy,
                         const RECT& target) {
  const int w = target.right - target.left, h = target.bottom - target.top;
  HBITMAP pattern = c.PatternBitmap
                        ? c.PatternBitmap
                        : static_cast<HBITMAP>(GetCurrentObject(c.Pattern, OBJ_BITMAP));
  forms::BrushHandle brush(CreatePatternBrush(pattern));
  SetBrushOrgEx(dst, 0, 0, nullptr);
  forms::Selection selected(dst, brush.get());
  BitBlt(dst, target.left, target.top, w, h, src, sx, sy, SRCCOPY);
  PatBlt(dst, target.left, target.top, w, h, kDestAndPattern);
}

}  // namespace

void MaskedMix(EffectContext& c, MaskBand band, int k, MixDirection direction, HDC source,
               const RECT& target) {
  if (c.Quiet) return fx::FlushRect(c, target);
  const bool in = direction == MixDirection::In;
  // The picture where it is to show, black elsewhere.
  LoadMask(c, band, k, in ? SRCCOPY : NOTSRCCOPY);
  MergeThroughPattern(c, c.Work, source, 0, 0, target);
  // The background where it is to show, black elsewhere.
  LoadMask(c, band, k, in ? NOTSRCCOPY : SRCCOPY);
  MergeThroughPattern(c, c.Screen, c.Back, target.left, target.top, target);
  // The two halves have no bit in common: OR puts them together.
  BitBlt(c.Screen, target.left, target.top, target.right - target.left,
         target.bottom - target.top, c.Work, target.left, target.top, SRCPAINT);
  fx::FlushRect(c, target);
}

}  // namespace saver
