#include "forms/CheckBox.h"

#include "forms/Application.h"

namespace forms {

void CheckBox::Create(const ControlRow& row) {
  CreateHandle("BUTTON", row.caption, row.CommonStyle(true) | BS_AUTOCHECKBOX, 0, row.place,
               row.ParentHandle());
  SetChecked(row.Has(opChecked));
}

bool CheckBox::Checked() const {
  return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  Raise(OnClick);
  return true;
}

}  // namespace forms
