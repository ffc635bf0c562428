#include "saver/CaptionOverlay.h"

namespace saver {

void CaptionOverlay::Show(HDC screen, const CaptionLine& line) {
  pixels_.Reset();
  rect_ = line.rect;
  const int w = rect_.right - rect_.left, h = rect_.bottom - rect_.top;
  if (line.text.empty() || w <= 0 || h <= 0) return;
  pixels_.Create(w, h);
  if (pixels_.Empty()) return;
  BitBlt(pixels_.Dc(), 0, 0, w, h, screen, rect_.left, rect_.top, SRCCOPY);
  CaptionLine local = line;
  OffsetRect(&local.rect, -rect_.left, -rect_.top);
  DrawCaption(pixels_.Dc(), local);
}

void CaptionOverlay::DrawOver(HDC target, const RECT& dirty) const {
  RECT part;
  if (!Visible() || !IntersectRect(&part, &rect_, &dirty)) return;
  BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, pixels_.Dc(),
         part.left - rect_.left, part.top - rect_.top, SRCCOPY);
}

}  // namespace saver
