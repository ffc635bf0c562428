#include "forms/Label.h"

#include <cstring>

#include "forms/Form.h"
#include "forms/Gdi.h"

namespace forms {

void Label::Create(const ControlRow& row) {
  CreateHandle("STATIC", row.caption, row.CommonStyle(false) | SS_LEFT | SS_NOPREFIX, 0,
               row.place, row.ParentHandle());
  autoSize_ = row.place.width == Dip(0) && row.place.height == Dip(0);
  if (autoSize_) AutoSize();
}

void Label::ApplyDpi() {
  Control::ApplyDpi();
  if (autoSize_) AutoSize();
}

void Label::AutoSize() {
  std::string text = Text();
  WindowDc dc(Handle());
  Selection font(dc.get(), OwnerForm().Font());
  SIZE size = {};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  if (size.cy == 0) {
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.get(), &tm);
    size.cy = tm.tmHeight;
  }
  RECT r = BoundsRect();
  SetBounds(r.left, r.top, size.cx, size.cy);
}

}  // namespace forms
