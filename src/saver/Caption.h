// The caption under a picture: one line in the dialog font, white with a
// dark outline so it reads on any photo, at the lower left of the monitor
// inside a margin. Its height is about 2.5 % of the monitor's and never
// below the dialog font at the monitor's DPI; a text wider than half the
// monitor is cut with "…".
#pragma once
#include <windows.h>

#include <string>

#include "picture/PictureFacts.h"

namespace saver {

// What the Caption key asks for, of one picture's facts: the date taken as
// "2019/07/14 10:30", the name, or both; "" when there is nothing to say.
std::wstring CaptionText(const picture::PictureFacts& facts, int mode);

struct CaptionLine {
  std::wstring text;  // as drawn, cut to fit
  RECT rect = {};     // what the drawing covers, outline included
  int height = 0;     // the font's cell height in pixels
  int outline = 0;    // the outline's width in pixels
};

// The line laid out at the lower left of `monitor` (client coordinates).
CaptionLine LayOutCaption(const std::wstring& text, const RECT& monitor, int dpi);
void DrawCaption(HDC dc, const CaptionLine& line);

// The pause mark: two bars at the upper right of `monitor`, away from the
// middle of the picture; drawn the same way, white on dark.
RECT PauseMarkRect(const RECT& monitor, int dpi);
void DrawPauseMark(HDC dc, const RECT& rect);

}  // namespace saver
