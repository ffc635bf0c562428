#include "dialogs/SettingsDialog.h"

SettingsDialog::SettingsDialog(const DialogFrame& frame) : Form(frame.className, frame.name) {
  Create();
  SetCaption(frame.caption);
  SetFont(frame.fontFace, frame.fontHeight);
  SetDesignClientSize(frame.client);
  CenterOnScreen();
  HelpContext = frame.helpContext;
  OKBtn.OnClick = [this] { OKBtnClick(); };
}

void SettingsDialog::FormClose(forms::CloseAction& action) { action = forms::CloseAction::Free; }
