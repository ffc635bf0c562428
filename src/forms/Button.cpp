#include "forms/Button.h"

#include "forms/Application.h"
#include "forms/Form.h"

namespace forms {

void Button::Create(const std::string& caption, const DesignRect& place, HWND parent) {
  CreateHandle("BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, place,
               parent);
}

void Button::Create(const ControlRow& row) {
  CreateHandle("BUTTON", row.caption, row.CommonStyle(true) | BS_PUSHBUTTON | BS_NOTIFY, 0,
               row.place, row.ParentHandle());
  if (row.Has(opDefault)) SetDefault(true);
  if (row.Has(opCancel)) SetCancel(true);
}

void Button::SetDefault(bool isDefault) {
  OwnerForm().SetDefaultButton(isDefault ? this : nullptr);
  SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON | BS_NOTIFY : BS_PUSHBUTTON | BS_NOTIFY,
               TRUE);
}

void Button::SetCancel(bool isCancel) { OwnerForm().SetCancelButton(isCancel ? this : nullptr); }

void Button::Click() {
  if (ModalResult != 0) OwnerForm().SetModalResult(ModalResult);
  if (OnClick) OnClick();
}

bool Button::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  Guarded([this] { Click(); });
  return true;
}

}  // namespace forms
