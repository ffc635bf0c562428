#include "forms/RadioButton.h"

#include "forms/Application.h"

namespace forms {

void RadioButton::Create(const ControlRow& row) {
  // BS_RADIOBUTTON (not auto): the exclusion is ours, per parent, so that a
  // group box or panel is a group whatever the WS_GROUP marks say.
  // The first button of a group is its tab stop until another is checked.
  DWORD style = row.CommonStyle(row.Has(opGroup) || row.Has(opChecked));
  CreateHandle("BUTTON", row.caption, style | BS_RADIOBUTTON | BS_NOTIFY, 0, row.place, row.ParentHandle());
  SetChecked(row.Has(opChecked));
}

void RadioButton::SetChecked(bool checked) {
  HWND self = Handle();
  SendMessageA(self, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!checked) return;
  // The checked button is the group's tab stop, as in a dialog box.
  SetWindowLongA(self, GWL_STYLE, GetWindowLongA(self, GWL_STYLE) | WS_TABSTOP);
  for (HWND h = GetWindow(GetParent(self), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == self || !dynamic_cast<RadioButton*>(Control::FromHandle(h))) continue;
    SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0);
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~WS_TABSTOP);
  }
}

bool RadioButton::OnCommand(WORD code) {
  switch (code) {
    case BN_CLICKED:
      SetChecked(true);
      return Raise(OnClick);
    case BN_DOUBLECLICKED: return Raise(OnDoubleClick);
    default: return false;
  }
}

}  // namespace forms
