// The theme selection dialog, main window of the settings mode: ten themes by
// name, the current one checked, and the way to every other dialog.
#pragma once
#include <string>

#include "dialogs/SettingsDialog.h"
#include "forms/GroupBox.h"
#include "forms/RadioButton.h"

class TMainDialog : public SettingsDialog {
 public:
  TMainDialog();

  // Caption of theme n's radio button; empty for a number outside 0 to 9.
  std::string ThemeCaption(int n) const;
  void SetThemeCaption(int n, const std::string& caption);

  forms::GroupBox ThemeGroupBox{*this, "ThemeGroupBox"};
  forms::RadioButton ThemeRBtn0{*this, "ThemeRBtn0"};
  forms::RadioButton ThemeRBtn1{*this, "ThemeRBtn1"};
  forms::RadioButton ThemeRBtn2{*this, "ThemeRBtn2"};
  forms::RadioButton ThemeRBtn3{*this, "ThemeRBtn3"};
  forms::RadioButton ThemeRBtn4{*this, "ThemeRBtn4"};
  forms::RadioButton ThemeRBtn5{*this, "ThemeRBtn5"};
  forms::RadioButton ThemeRBtn6{*this, "ThemeRBtn6"};
  forms::RadioButton ThemeRBtn7{*this, "ThemeRBtn7"};
  forms::RadioButton ThemeRBtn8{*this, "ThemeRBtn8"};
  forms::RadioButton ThemeRBtn9{*this, "ThemeRBtn9"};
  forms::Button SetDlgBtn{*this, "SetDlgBtn"};
  forms::Button NameDlgBtn{*this, "NameDlgBtn"};
  forms::Button ClearBtn{*this, "ClearBtn"};
  forms::Button OtherSetBtn{*this, "OtherSetBtn"};
  forms::Button MainHelpBtn{*this, "MainHelpBtn"};
  forms::Button Button1{*this, "Button1"};

 private:
  void FormCreate();
  void ThemeNumberCheck();
  void OKBtnClick() override;
  void SetDlgBtnClick();
  void NameDlgBtnClick();
  void OtherSetBtnClick();
  void ClearBtnClick();
  void Button1Click();
  void MainHelpBtnClick();
  // ThemeNumber and the ten names into section Main, all or nothing.
  void WriteMain(bool withNames);

  forms::RadioButton* const ThemeRBtn[10] = {&ThemeRBtn0, &ThemeRBtn1, &ThemeRBtn2, &ThemeRBtn3,
                                             &ThemeRBtn4, &ThemeRBtn5, &ThemeRBtn6, &ThemeRBtn7,
                                             &ThemeRBtn8, &ThemeRBtn9};

  // The selected theme number (normally 0 to 9), brought up to date from the
  // radio buttons before each action and handed to the dialogs opened here.
  int selectedTheme_ = 0;
};
