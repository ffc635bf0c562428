#include "forms/GroupBox.h"

#include "forms/Gdi.h"

namespace forms {

void GroupBox::Paint(HDC dc, const RECT& client) {
  Selection font(dc, FormFont());
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  RECT frame = client;
  frame.top += tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  std::string text = Text();
  if (text.empty()) return;
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  // The caption interrupts the top edge, with a little space either side.
  RECT box = {6, 0, 8 + size.cx + 2, tm.tmHeight};
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  ExtTextOutA(dc, 8, 0, ETO_OPAQUE, &box, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

}  // namespace forms
