// The other page: background (and the blurred fill of a picture's bars),
// image position, fitting and moving, the three delays, and what the other
// monitors show.
#pragma once
#include "dialogs/ThemePage.h"

class EtcPage : public ThemePage {
 public:
  explicit EtcPage(const PageHome& home);
  ~EtcPage() override;
  void Show(const settings::Theme& theme) override;
  void Collect(settings::Theme& theme) const override;
  void Close() override;

 private:
  void CreateControls();
  void Button1Click();
  void DelayEditCheck();

  forms::OpenDialog& files_;
  int keptBackGround_ = 0;  // a stored kind no radio button stands for stays as read
  bool hooked_ = false;     // DelayEditCheck installed on the application
  forms::Panel Panel2{dialog_, "Panel2"};
  forms::Label BackLbl{dialog_, "BackLbl"};
  forms::RadioButton BackRBtn0{dialog_, "BackRBtn0"};
  forms::ComboBox BackCmbBox{dialog_, "BackCmbBox"};
  forms::RadioButton BackRBtn1{dialog_, "BackRBtn1"};
  forms::Label BackFileLbl{dialog_, "BackFileLbl"};
  forms::Button Button1{dialog_, "Button1"};
  forms::Edit BackEdit{dialog_, "BackEdit"};
  forms::RadioButton BackRBtn2{dialog_, "BackRBtn2"};
  forms::Panel Panel1{dialog_, "Panel1"};
  forms::Label ImagePosLbl{dialog_, "ImagePosLbl"};
  forms::RadioButton ImagePosRBtn0{dialog_, "ImagePosRBtn0"};
  forms::RadioButton ImagePosRBtn1{dialog_, "ImagePosRBtn1"};
  forms::CheckBox ImageFitCBox{dialog_, "ImageFitCBox"};
  forms::Label FirstDelayLbl{dialog_, "FirstDelayLbl"};
  forms::Edit FirstDelayEdit{dialog_, "FirstDelayEdit"};
  forms::Label FirstDelayUnitLbl{dialog_, "FirstDelayUnitLbl"};
  forms::Label ImageOnLbl{dialog_, "ImageOnLbl"};
  forms::Edit ImageOnEdit{dialog_, "ImageOnEdit"};
  forms::Label ImageOnUnitLbl{dialog_, "ImageOnUnitLbl"};
  forms::Label ImageOffLbl{dialog_, "ImageOffLbl"};
  forms::Edit ImageOffEdit{dialog_, "ImageOffEdit"};
  forms::Label ImageOffUnitLbl{dialog_, "ImageOffUnitLbl"};
  forms::GroupBox MonitorsBox{dialog_, "MonitorsBox"};
  forms::RadioButton MonitorsRBtn0{dialog_, "MonitorsRBtn0"};
  forms::RadioButton MonitorsRBtn1{dialog_, "MonitorsRBtn1"};
  forms::RadioButton MonitorsRBtn2{dialog_, "MonitorsRBtn2"};
  // In the order of the stored Monitors value.
  forms::RadioButton* const MonitorsRBtn[3] = {&MonitorsRBtn0, &MonitorsRBtn1, &MonitorsRBtn2};
};
