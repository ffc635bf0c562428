#include "forms/Panel.h"

#include "forms/Gdi.h"

namespace forms {

void Panel::Paint(HDC dc, const RECT& client) {
  RECT r = client;
  DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  std::string text = Text();
  if (text.empty()) return;
  Selection font(dc, FormFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace forms
