// The 「表示」 page: whether keys step and pause the show (ShowKeys), what
// the caption under each picture says (Caption), whether a picture moves
// while it stands (PanZoom) and whether its bars are filled (BlurFill).
#pragma once
#include "dialogs/ThemePage.h"

class DisplayPage : public ThemePage {
 public:
  explicit DisplayPage(const PageHome& home);
  void Show(const settings::Theme& theme) override;
  void Collect(settings::Theme& theme) const override;

 private:
  void CreateControls();
  forms::GroupBox ShowKeysBox{dialog_, "ShowKeysBox"};
  forms::CheckBox ShowKeysCBox{dialog_, "ShowKeysCBox"};
  forms::Label ShowKeysLbl1{dialog_, "ShowKeysLbl1"};
  forms::Label ShowKeysLbl2{dialog_, "ShowKeysLbl2"};
  forms::Label ShowKeysLbl3{dialog_, "ShowKeysLbl3"};
  forms::GroupBox CaptionBox{dialog_, "CaptionBox"};
  forms::RadioButton CaptionRBtn0{dialog_, "CaptionRBtn0"};
  forms::RadioButton CaptionRBtn1{dialog_, "CaptionRBtn1"};
  forms::RadioButton CaptionRBtn2{dialog_, "CaptionRBtn2"};
  forms::RadioButton CaptionRBtn3{dialog_, "CaptionRBtn3"};
  forms::Label CaptionLbl{dialog_, "CaptionLbl"};
  forms::Label CaptionLbl2{dialog_, "CaptionLbl2"};
  forms::GroupBox MotionBox{dialog_, "MotionBox"};
  forms::CheckBox PanZoomCBox{dialog_, "PanZoomCBox"};
  forms::CheckBox BlurFillCBox{dialog_, "BlurFillCBox"};
  // In the order of the stored Caption value.
  forms::RadioButton* const CaptionRBtn[4] = {&CaptionRBtn0, &CaptionRBtn1, &CaptionRBtn2, &CaptionRBtn3};
};
