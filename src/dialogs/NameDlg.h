// The rename dialog: a new name for the selected theme. The name goes into
// the theme's radio button of the theme selection dialog, which stores it
// with its own OK.
#pragma once
#include "dialogs/SettingsDialog.h"
#include "forms/Edit.h"
#include "forms/Label.h"

class TMainDialog;

class TThemeNameDlg : public SettingsDialog {
 public:
  // Renames theme number `theme` (no button for a number outside 0 to 9).
  TThemeNameDlg(TMainDialog& mainDialog, int theme);

  forms::Label Label1{*this, "Label1"};
  forms::Edit ThemeNameEdit{*this, "ThemeNameEdit"};
  forms::Button CancelBtn{*this, "CancelBtn"};

 private:
  void FormCreate();
  void OKBtnClick() override;

  TMainDialog& mainDialog_;
  const int theme_;
};
