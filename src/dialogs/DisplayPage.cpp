#include "dialogs/DisplayPage.h"

#include "app/HelpTopics.h"
#include "forms/ControlRow.h"

DisplayPage::DisplayPage(const PageHome& home) : ThemePage(home, "DisplaySheet", "  表示  ", app::kHelpDisplay) {
  CreateControls();
}

void DisplayPage::CreateControls() {
  forms::Control* page = &Sheet;
  forms::Control* keys = &ShowKeysBox;
  forms::Control* caption = &CaptionBox;
  forms::Control* motion = &MotionBox;
  forms::CreateControls({
      {ShowKeysBox, "スライドショー中のキー", 16, 8, 553, 129, 0, page},
      {ShowKeysCBox, "キーで画像を送る・戻す・一時停止する", 16, 26, 360, 17, forms::opGroup, keys},
      {ShowKeysLbl1, "→ / Page Down：次の画像　　← / Page Up：前の画像", 40, 56, 0, 0, 0, keys},
      {ShowKeysLbl2, "Space：一時停止／再開", 40, 80, 0, 0, 0, keys},
      {ShowKeysLbl3, "チェックしないときや、ほかのキーでは、スクリーンセーバーが終わります。", 40, 104, 0, 0, 0, keys},
      {CaptionBox, "キャプション（画像の左下に表示）", 16, 145, 553, 131, 0, page},
      {CaptionRBtn0, "なし", 16, 26, 200, 17, forms::opGroup | forms::opChecked, caption},
      {CaptionRBtn1, "ファイル名", 16, 52, 200, 17, 0, caption},
      {CaptionRBtn2, "撮影日時", 16, 78, 200, 17, 0, caption},
      {CaptionRBtn3, "撮影日時とファイル名", 16, 104, 200, 17, 0, caption},
      {CaptionLbl, "撮影日時：写真の Exif に書かれた日時", 240, 79, 0, 0, 0, caption},
      {CaptionLbl2, "（ないときはファイルの更新日時）", 240, 105, 0, 0, 0, caption},
      {MotionBox, "画像の動きと余白", 16, 284, 553, 58, 0, page},
      {PanZoomCBox, "画像をゆっくり動かす（パン・ズーム）", 16, 26, 273, 17, forms::opGroup, motion},
      {BlurFillCBox, "余白をぼかした画像で埋める", 296, 26, 249, 17, forms::opGroup, motion},
  });
}

void DisplayPage::Show(const settings::Theme& t) {
  ShowKeysCBox.SetChecked(t.ShowKeys);
  for (int k = 0; k < 4; ++k) CaptionRBtn[k]->SetChecked(k == t.Caption);
  PanZoomCBox.SetChecked(t.PanZoom);
  BlurFillCBox.SetChecked(t.BlurFill);
}

void DisplayPage::Collect(settings::Theme& t) const {
  t.ShowKeys = ShowKeysCBox.Checked();
  for (int k = 0; k < 4; ++k)
    if (CaptionRBtn[k]->Checked()) t.Caption = k;
  t.PanZoom = PanZoomCBox.Checked();
  t.BlurFill = BlurFillCBox.Checked();
}
