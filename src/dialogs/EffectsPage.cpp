// The effects page: which appear and erase effects the saver may choose, and
// how fast they run.
#include "dialogs/EffectsPage.h"

#include "app/HelpTopics.h"
#include "forms/ControlRow.h"

namespace {
const char* const kKindCaptions[settings::kEffectKinds] = {
    "なし", "ブラインド", "スクロール", "ストレッチ", "スライド", "分割スライド", "メッシュ", "フェード"};
const int kColumnX[4] = {16, 141, 282, 415};
const int kRowY[2] = {32, 56};

// One group box: the eight boxes in two rows of four, then the speed row.
void CreateEffectGroup(forms::GroupBox& box, forms::CheckBox* const (&switches)[settings::kEffectKinds],
                       forms::Label& speedLbl, const char* speedCaption, forms::Label& slowLbl,
                       forms::TrackBar& bar, forms::Label& fastLbl, const settings::IntKey& speed) {
  for (int k = 0; k < settings::kEffectKinds; ++k) {
    forms::CreateControls({{*switches[k], kKindCaptions[k], kColumnX[k % 4], kRowY[k / 4], 120, 17,
                            k == 0 ? forms::opGroup : 0u, &box}});
  }
  forms::CreateControls({
      {speedLbl, speedCaption, 16, 112, 0, 0, 0, &box},
      {slowLbl, "遅い", 144, 112, 0, 0, 0, &box},
      {bar, "", 176, 107, 329, 33, forms::opGroup, &box},
      {fastLbl, "速い", 504, 112, 0, 0, 0, &box},
  });
  // Left is slow, right is fast: the saver waits 405 minus this between steps.
  bar.SetRange(0, 400);
  bar.SetLineSize(10);
  bar.SetPageSize(40);
  bar.SetFrequency(40);
  bar.SetPosition(speed.dialog);
}
}  // namespace

EffectsPage::EffectsPage(const PageHome& home) : ThemePage(home, "EffectSheet", "エフェクト", app::kHelpEffects) {
  CreateControls();
}

void EffectsPage::CreateControls() {
  forms::Control* page = &Sheet;
  forms::CreateControls({{ImageShowBox, "画像表示時のエフェクト", 16, 8, 553, 145, 0, page}});
  CreateEffectGroup(ImageShowBox, ImageOnBtn, ImageFadeInLbl, "表示する速さ", ImageFadeInSlowLbl,
                    ImageFadeInScrBar, ImageFadeInFastLbl, settings::key::ImageFadeInSpeed);
  forms::CreateControls({{ImageEraseBox, "画像消去時のエフェクト", 16, 168, 553, 145, 0, page}});
  CreateEffectGroup(ImageEraseBox, ImageOffBtn, ImageFadeOutLbl, "消去する速さ", ImageFadeOutSlowLbl,
                    ImageFadeOutScrBar, ImageFadeOutFastLbl, settings::key::ImageFadeOutSpeed);
  forms::CreateControls({{NoEraseCBox, "画像の消去をしない", 16, 320, 200, 17, forms::opGroup, page}});
}

// The saver needs at least one kind to choose from in each group: blind
// stands in when the user has cleared them all.
void EffectsPage::Leave() {
  auto anyChecked = [](forms::CheckBox* const (&boxes)[settings::kEffectKinds]) {
    for (forms::CheckBox* b : boxes)
      if (b->Checked()) return true;
    return false;
  };
  if (!anyChecked(ImageOnBtn)) ImageOnBtn1.SetChecked(true);
  if (!anyChecked(ImageOffBtn)) ImageOffBtn1.SetChecked(true);
}

void EffectsPage::Show(const settings::Theme& t) {
  for (int k = 0; k < settings::kEffectKinds; ++k) {
    ImageOnBtn[k]->SetChecked(t.AppearOn[k]);
    ImageOffBtn[k]->SetChecked(t.EraseOn[k]);
  }
  ImageFadeInScrBar.SetPosition(t.AppearSpeed);
  ImageFadeOutScrBar.SetPosition(t.EraseSpeed);
  NoEraseCBox.SetChecked(t.NotErase);
}

void EffectsPage::Collect(settings::Theme& t) const {
  for (int k = 0; k < settings::kEffectKinds; ++k) {
    t.AppearOn[k] = ImageOnBtn[k]->Checked();
    t.EraseOn[k] = ImageOffBtn[k]->Checked();
  }
  t.AppearSpeed = ImageFadeInScrBar.Position();
  t.EraseSpeed = ImageFadeOutScrBar.Position();
  t.NotErase = NoEraseCBox.Checked();
}
