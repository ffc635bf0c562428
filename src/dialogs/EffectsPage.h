// The effects page: which appear and erase effects the saver may choose, and
// how fast they run.
#pragma once
#include "dialogs/ThemePage.h"

class EffectsPage : public ThemePage {
 public:
  explicit EffectsPage(const PageHome& home);
  void Show(const settings::Theme& theme) override;
  void Collect(settings::Theme& theme) const override;
  void Leave() override;

 private:
  void CreateControls();
  forms::GroupBox ImageShowBox{dialog_, "ImageShowBox"};
  forms::CheckBox ImageOnBtn0{dialog_, "ImageOnBtn0"};
  forms::CheckBox ImageOnBtn1{dialog_, "ImageOnBtn1"};
  forms::CheckBox ImageOnBtn2{dialog_, "ImageOnBtn2"};
  forms::CheckBox ImageOnBtn3{dialog_, "ImageOnBtn3"};
  forms::CheckBox ImageOnBtn4{dialog_, "ImageOnBtn4"};
  forms::CheckBox ImageOnBtn5{dialog_, "ImageOnBtn5"};
  forms::CheckBox ImageOnBtn6{dialog_, "ImageOnBtn6"};
  forms::CheckBox ImageOnBtn7{dialog_, "ImageOnBtn7"};
  forms::Label ImageFadeInLbl{dialog_, "ImageFadeInLbl"};
  forms::Label ImageFadeInSlowLbl{dialog_, "ImageFadeInSlowLbl"};
  forms::TrackBar ImageFadeInScrBar{dialog_, "ImageFadeInScrBar"};
  forms::Label ImageFadeInFastLbl{dialog_, "ImageFadeInFastLbl"};
  forms::GroupBox ImageEraseBox{dialog_, "ImageEraseBox"};
  forms::CheckBox ImageOffBtn0{dialog_, "ImageOffBtn0"};
  forms::CheckBox ImageOffBtn1{dialog_, "ImageOffBtn1"};
  forms::CheckBox ImageOffBtn2{dialog_, "ImageOffBtn2"};
  forms::CheckBox ImageOffBtn3{dialog_, "ImageOffBtn3"};
  forms::CheckBox ImageOffBtn4{dialog_, "ImageOffBtn4"};
  forms::CheckBox ImageOffBtn5{dialog_, "ImageOffBtn5"};
  forms::CheckBox ImageOffBtn6{dialog_, "ImageOffBtn6"};
  forms::CheckBox ImageOffBtn7{dialog_, "ImageOffBtn7"};
  forms::Label ImageFadeOutLbl{dialog_, "ImageFadeOutLbl"};
  forms::Label ImageFadeOutSlowLbl{dialog_, "ImageFadeOutSlowLbl"};
  forms::TrackBar ImageFadeOutScrBar{dialog_, "ImageFadeOutScrBar"};
  forms::Label ImageFadeOutFastLbl{dialog_, "ImageFadeOutFastLbl"};
  forms::CheckBox NoEraseCBox{dialog_, "NoEraseCBox"};

  forms::CheckBox* const ImageOnBtn[settings::kEffectKinds] = {
      &ImageOnBtn0, &ImageOnBtn1, &ImageOnBtn2, &ImageOnBtn3,
      &ImageOnBtn4, &ImageOnBtn5, &ImageOnBtn6, &ImageOnBtn7};
  forms::CheckBox* const ImageOffBtn[settings::kEffectKinds] = {
      &ImageOffBtn0, &ImageOffBtn1, &ImageOffBtn2, &ImageOffBtn3,
      &ImageOffBtn4, &ImageOffBtn5, &ImageOffBtn6, &ImageOffBtn7};
};
