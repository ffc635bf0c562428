#include "forms/CheckBox.h"

#include "forms/Application.h"

namespace forms {

void CheckBox::Create(const ControlSpec& spec) {
  CreateHandle("BUTTON", spec.caption, spec.CommonStyle(true) | BS_AUTOCHECKBOX, 0, spec.left,
               spec.top, spec.width, spec.height, spec.ParentHandle());
  SetChecked(spec.Has(opChecked));
}

bool CheckBox::Checked() const {
  return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  if (OnClick) Guarded([this] { OnClick(); });
  return true;
}

}  // namespace forms
