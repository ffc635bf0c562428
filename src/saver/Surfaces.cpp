#include "saver/Surfaces.h"

#include <vector>

#include "forms/Gdi.h"

namespace saver {

namespace {

HPALETTE CopyOf(HPALETTE palette) {
  if (!palette) return nullptr;
  const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
  if (count == 0) return nullptr;
  std::vector<BYTE> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* copy = reinterpret_cast<LOGPALETTE*>(block.data());
  copy->palVersion = 0x300;
  copy->palNumEntries = static_cast<WORD>(count);
  GetPaletteEntries(palette, 0, count, copy->palPalEntry);
  return CreatePalette(copy);
}

}  // namespace

Surfaces::Surfaces(int appearSpeed, int eraseSpeed, RandomFn random)
    : appearSpeed_(appearSpeed), eraseSpeed_(eraseSpeed), random_(std::move(random)) {
  MaskStrip.Adopt(CreateMaskStrip());
}

// The bitmaps let go of the palette before it is deleted.
Surfaces::~Surfaces() { UsePalette(nullptr); }

void Surfaces::BuildFromBack(SIZE client) {
  client_ = client;
  const int w = Back.Width(), h = Back.Height();
  Screen.Create(w, h);
  BitBlt(Screen.Dc(), 0, 0, w, h, Back.Dc(), 0, 0, SRCCOPY);
  Pattern.Create(8, 8);
  Work.Create(w, h);
  Work.Fill(RGB(0, 0, 0));
  SelectOwnPalette();
  picture_ = BaseContext();
}

void Surfaces::Reset() {
  picture_ = EffectContext();
  Screen.Reset();
  Back.Reset();
  Work.Reset();
  Pattern.Reset();
}

void Surfaces::UsePalette(HPALETTE palette) {
  forms::PaletteHandle copy(CopyOf(palette));
  std::swap(copy, palette_);
  SelectOwnPalette();  // the old copy is deselected everywhere before it goes
}

void Surfaces::SelectOwnPalette() {
  Back.UsePalette(palette_.get());
  Screen.UsePalette(palette_.get());
  Work.UsePalette(palette_.get());
}

EffectContext Surfaces::BaseContext() {
  EffectContext c;
  c.Screen = Screen.Dc();
  c.Back = Back.Dc();
  c.Work = Work.Dc();
  c.Pattern = Pattern.Dc();
  c.PatternBitmap = Pattern.Handle();
  c.MaskStrip = MaskStrip.Dc();
  c.ClientWidth = client_.cx;
  c.ClientHeight = client_.cy;
  c.AppearSpeed = appearSpeed_;
  c.EraseSpeed = eraseSpeed_;
  c.State = &state_;
  c.Flush = [this](const RECT& r) { Flush(r); };
  c.Random = random_;
  return c;
}

void Surfaces::PlacePicture(HDC image, SIZE size, POINT at, int effectCoin) {
  picture_ = BaseContext();
  picture_.Image = image;
  picture_.Palette = palette_.get();
  picture_.W = size.cx;
  picture_.H = size.cy;
  picture_.X = at.x;
  picture_.Y = at.y;
  picture_.EffectCoin = effectCoin;
}

EffectStep Surfaces::BeginEffect(bool appear, int kind) {
  state_ = EffectState();
  return (appear ? AppearRoutine(kind) : EraseRoutine(kind))(picture_);
}

EffectStep Surfaces::EffectSteps(bool appear, int kind, int steps) {
  const EffectRoutine routine = appear ? AppearRoutine(kind) : EraseRoutine(kind);
  const bool countOnly = RedrawsWholeState(kind);
  // One step: `quiet` counts it without drawing the picture; `hold` gathers
  // its flush for the step that stands at the end of the tick.
  auto step = [&](bool quiet, bool hold) {
    picture_.Quiet = quiet;
    holdFlushes_ = hold;
    const EffectStep r = routine(picture_);
    picture_.Quiet = false;
    holdFlushes_ = false;
    return r;
  };
  EffectStep r;
  EffectState before, beforePrevious;
  bool previousQuiet = false;
  for (int i = 0; i < steps; ++i) {
    const bool last = i + 1 == steps;
    const bool quiet = countOnly && !last;
    before = state_;
    r = step(quiet, !last);
    if (r.Done) {
      if (quiet || previousQuiet) {
        // A closing step may draw nothing (Mesh, Fade): the step before it is
        // drawn for real, then the closing one again.
        state_ = previousQuiet ? beforePrevious : before;
        if (previousQuiet) step(false, true);
        r = step(false, false);
      }
      break;
    }
    beforePrevious = before;
    previousQuiet = quiet;
  }
  if (!IsRectEmpty(&held_)) Flush(RECT{0, 0, 0, 0});
  return r;
}

void Surfaces::MixTitle(int k, MixDirection direction, HDC source, const RECT& target) {
  MaskedMix(picture_, MaskBand::Fade, k, direction, source, target);
}

void Surfaces::KeepScreenAsBackground() {
  BitBlt(Back.Dc(), 0, 0, client_.cx, client_.cy, Screen.Dc(), 0, 0, SRCCOPY);
}

// Only the placed picture's rectangle changes (pictures kept before it are
// in Back too); without a picture, say over the title, the whole client.
void Surfaces::ShowBackground() {
  RECT r = {0, 0, client_.cx, client_.cy};
  if (picture_.W > 0 && picture_.H > 0) r = {picture_.X, picture_.Y, picture_.X + picture_.W, picture_.Y + picture_.H};
  BitBlt(Screen.Dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, Back.Dc(), r.left, r.top, SRCCOPY);
  Flush(r);
}

void Surfaces::Paint(HDC dc) const {
  BitBlt(dc, 0, 0, client_.cx, client_.cy, Screen.Dc(), 0, 0, SRCCOPY);
  if (overlay_) overlay_(dc, RECT{0, 0, client_.cx, client_.cy});
}

void Surfaces::Flush(const RECT& r) {
  RECT all;
  UnionRect(&all, &held_, &r);
  if (holdFlushes_) {
    held_ = all;
    return;
  }
  SetRectEmpty(&held_);
  if (IsRectEmpty(&all)) return;
  const int w = all.right - all.left, h = all.bottom - all.top;
  if (flushDc_) {
    BitBlt(flushDc_, all.left, all.top, w, h, Screen.Dc(), all.left, all.top, SRCCOPY);
    if (overlay_) overlay_(flushDc_, all);
  } else if (window_) {
    forms::WindowDc dc(window_);
    BitBlt(dc.get(), all.left, all.top, w, h, Screen.Dc(), all.left, all.top, SRCCOPY);
    if (overlay_) overlay_(dc.get(), all);
  }
}

}  // namespace saver
