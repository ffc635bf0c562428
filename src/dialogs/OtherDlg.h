// The other-settings dialog: the mouse-movement tolerance of the running
// saver (CloseMouseMove), stored as soon as OK is pressed.
#pragma once
#include "dialogs/SettingsDialog.h"
#include "forms/Label.h"
#include "forms/TrackBar.h"

class TOtherSetDlg : public SettingsDialog {
 public:
  TOtherSetDlg();

  forms::Label Label1{*this, "Label1"};
  forms::Label Label2{*this, "Label2"};
  forms::TrackBar MouseMoveBar{*this, "MouseMoveBar"};
  forms::Label Label3{*this, "Label3"};
  forms::Button CanselBtn{*this, "CanselBtn"};

 private:
  void FormCreate();
  void OKBtnClick() override;
};
