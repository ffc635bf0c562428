// The title overlay: the line measured, centred and keyed over the background.
#include "saver/TitleOverlay.h"

#include <algorithm>

namespace saver {

namespace {
// White is the key colour: the text is drawn at most 251 in each part, so no
// pixel of it is taken for background.
COLORREF NeverKey(COLORREF c) {
  return RGB(std::min<int>(GetRValue(c), 251), std::min<int>(GetGValue(c), 251), std::min<int>(GetBValue(c), 251));
}
}  // namespace

RECT CenteredInArea(const RECT& area, SIZE size) {
  const int left = area.left + (area.right - area.left - size.cx) / 2;
  const int top = area.top + (area.bottom - area.top - size.cy) / 2;
  return {left, top, left + size.cx, top + size.cy};
}

void BuildTitleOverlay(const TitleLine& line, HDC back, const RECT& area, forms::Bitmap& overlay, RECT& rect) {
  overlay.Reset();
  // Cell height (positive lfHeight); no antialiasing, so every text pixel
  // is exactly the title colour.
  forms::FontHandle font(CreateFontA(line.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     NONANTIALIASED_QUALITY, DEFAULT_PITCH, line.FontName.c_str()));
  forms::Bitmap text;
  SIZE size = {0, 0};
  {
    forms::MemoryDc measure(CreateCompatibleDC(nullptr));
    forms::Selection sel(measure.get(), font.get());
    GetTextExtentPoint32A(measure.get(), line.Text.c_str(), static_cast<int>(line.Text.size()), &size);
  }
  if (line.Text.empty()) size = {0, 0};
  rect = CenteredInArea(area, size);
  text.Create(size.cx, size.cy);
  if (text.Empty()) return;

  text.Fill(RGB(255, 255, 255));
  {
    forms::Selection sel(text.Dc(), font.get());
    SetBkMode(text.Dc(), TRANSPARENT);
    SetTextColor(text.Dc(), NeverKey(line.Color));
    TextOutA(text.Dc(), 0, 0, line.Text.c_str(), static_cast<int>(line.Text.size()));
  }
  // Key: white where the text is, black elsewhere. A one-bit copy marks
  // the white pixels (the source's background colour); expanding it back
  // inverted gives the key.
  forms::Bitmap mono;
  mono.Adopt(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
  SetBkColor(text.Dc(), RGB(255, 255, 255));
  BitBlt(mono.Dc(), 0, 0, size.cx, size.cy, text.Dc(), 0, 0, SRCCOPY);
  forms::Bitmap keyBits;
  keyBits.Create(size.cx, size.cy);
  SetTextColor(keyBits.Dc(), RGB(0, 0, 0));
  SetBkColor(keyBits.Dc(), RGB(255, 255, 255));
  BitBlt(keyBits.Dc(), 0, 0, size.cx, size.cy, mono.Dc(), 0, 0, NOTSRCCOPY);

  // Overlay = (background OR key) AND text.
  overlay.Create(size.cx, size.cy);
  BitBlt(overlay.Dc(), 0, 0, size.cx, size.cy, back, rect.left, rect.top, SRCCOPY);
  BitBlt(overlay.Dc(), 0, 0, size.cx, size.cy, keyBits.Dc(), 0, 0, SRCPAINT);
  BitBlt(overlay.Dc(), 0, 0, size.cx, size.cy, text.Dc(), 0, 0, SRCAND);
}

}  // namespace saver
