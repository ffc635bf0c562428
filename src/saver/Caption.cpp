#include "saver/Caption.h"

#include <algorithm>
#include <vector>

#include "forms/Dpi.h"
#include "forms/Gdi.h"

namespace saver {

namespace {
constexpr forms::Dip kDialogFontHeight{12};  // the dialogs' font
constexpr forms::Dip kMarginDesign{16};
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kOutline = RGB(16, 16, 16);
const wchar_t kEllipsis = L'\u2026';

forms::FontHandle CaptionFont(int height) {
  return forms::FontHandle(CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                       DEFAULT_PITCH, "ＭＳ Ｐゴシック"));
}

SIZE Extent(HDC dc, const std::wstring& text) {
  SIZE s = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

// The longest start of text that fits `width` with "…" after it.
std::wstring CutToWidth(HDC dc, const std::wstring& text, int width) {
  if (Extent(dc, text).cx <= width) return text;
  const int room = width - Extent(dc, std::wstring(1, kEllipsis)).cx;
  int fit = 0;
  std::vector<int> ends(text.size());
  SIZE whole;
  GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), std::max(room, 0), &fit, ends.data(),
                        &whole);
  // Never cut a character of two UTF-16 units in half.
  if (fit > 0 && IS_HIGH_SURROGATE(text[fit - 1])) --fit;
  return text.substr(0, static_cast<size_t>(std::max(fit, 0))) + kEllipsis;
}

std::wstring Digits2(int v) { return std::wstring(1, wchar_t(L'0' + v / 10 % 10)) + wchar_t(L'0' + v % 10); }
}  // namespace

std::wstring CaptionText(const picture::PictureFacts& facts, int mode) {
  std::wstring date;
  if (facts.hasTime) {
    const picture::TakenTime& t = facts.taken;
    date = Digits2(t.year / 100) + Digits2(t.year) + L'/' + Digits2(t.month) + L'/' + Digits2(t.day) + L' ' +
           Digits2(t.hour) + L':' + Digits2(t.minute);
  }
  switch (mode) {
    case 1: return facts.name;
    case 2: return date;
    case 3: return date.empty() || facts.name.empty() ? date + facts.name : date + L"  " + facts.name;
    default: return L"";
  }
}

CaptionLine LayOutCaption(const std::wstring& text, const RECT& monitor, int dpi) {
  CaptionLine line;
  const int monitorHeight = monitor.bottom - monitor.top;
  line.height = std::max(monitorHeight * 25 / 1000, forms::Scaled(kDialogFontHeight, dpi));
  line.outline = std::max(1, line.height / 12);
  forms::FontHandle font = CaptionFont(line.height);
  forms::MemoryDc measure(CreateCompatibleDC(nullptr));
  forms::Selection sel(measure.get(), font.get());
  const int halfWidth = (monitor.right - monitor.left) / 2;
  line.text = text.empty() ? text : CutToWidth(measure.get(), text, halfWidth - 2 * line.outline);
  const SIZE size = Extent(measure.get(), line.text);
  if (line.text.empty()) return line;
  const int margin = forms::Scaled(kMarginDesign, dpi);
  line.rect.left = monitor.left + margin;
  line.rect.bottom = monitor.bottom - margin;
  line.rect.right = line.rect.left + size.cx + 2 * line.outline;
  line.rect.top = line.rect.bottom - size.cy - 2 * line.outline;
  return line;
}

// The outline is the text drawn dark at every offset within its width;
// the white text on top stays white to its edges.
void DrawCaption(HDC dc, const CaptionLine& line) {
  if (line.text.empty()) return;
  forms::FontHandle font = CaptionFont(line.height);
  forms::Selection sel(dc, font.get());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = GetTextColor(dc);
  const int n = static_cast<int>(line.text.size());
  const int x = line.rect.left + line.outline, y = line.rect.top + line.outline;
  SetTextColor(dc, kOutline);
  for (int dy = -line.outline; dy <= line.outline; ++dy)
    for (int dx = -line.outline; dx <= line.outline; ++dx)
      if (dx || dy) TextOutW(dc, x + dx, y + dy, line.text.c_str(), n);
  SetTextColor(dc, kText);
  TextOutW(dc, x, y, line.text.c_str(), n);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

RECT PauseMarkRect(const RECT& monitor, int dpi) {
  const int margin = forms::Scaled(kMarginDesign, dpi);
  const int size = std::max(static_cast<int>(monitor.bottom - monitor.top) * 4 / 100, forms::Scaled(forms::Dip(24), dpi));
  return {monitor.right - margin - size, monitor.top + margin, monitor.right - margin, monitor.top + margin + size};
}

void DrawPauseMark(HDC dc, const RECT& r) {
  const int size = static_cast<int>(r.right - r.left), bar = std::max(size / 4, 2), edge = std::max(size / 16, 1);
  forms::BrushHandle dark(CreateSolidBrush(kOutline)), white(CreateSolidBrush(kText));
  for (int left : {r.left + size / 8, r.right - size / 8 - bar}) {
    const RECT outer = {left, r.top, left + bar, r.bottom};
    const RECT inner = {left + edge, r.top + edge, left + bar - edge, r.bottom - edge};
    FillRect(dc, &outer, dark.get());
    FillRect(dc, &inner, white.get());
  }
}

}  // namespace saver
