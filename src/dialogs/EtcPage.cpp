// The other page: background (and the blurred fill of a picture's bars),
// image position, fitting and moving, the three delays, and what the other
// monitors show.
#include "dialogs/EtcPage.h"

#include "app/HelpTopics.h"
#include "dialogs/FileLists.h"
#include "forms/Application.h"
#include "forms/ControlRow.h"
#include "saver/Background.h"
#include "settings/Convert.h"
#include "settings/Keys.h"

namespace {
const int kDelayMaxLength = 6;
}  // namespace

EtcPage::EtcPage(const PageHome& home)
    : ThemePage(home, "EtcSheet", "  その他  ", app::kHelpOther), files_(home.files) {
  CreateControls();
  Button1.OnClick = [this] { Button1Click(); };
}

// Also when the window never closed (created, then dropped): no handler
// may outlive the page it points into.
EtcPage::~EtcPage() { Close(); }

void EtcPage::CreateControls() {
  forms::Control* page = &Sheet;
  forms::Control* back = &Panel2;
  forms::Control* pos = &Panel1;
  forms::CreateControls({
      {Panel2, "", 16, 16, 553, 129, 0, page},
      {BackLbl, "背　景", 16, 12, 0, 0, 0, back},
      {BackRBtn0, "単色", 96, 11, 90, 17, forms::opGroup | forms::opChecked, back},
      {BackCmbBox, "黒色", 192, 8, 81, 0, 0, back},
      {BackRBtn1, "画像", 96, 43, 90, 17, 0, back},
      {BackFileLbl, "現在設定されているファイル名", 192, 44, 0, 0, 0, back},
      {Button1, "変更", 116, 64, 61, 25, forms::opGroup, back},
      {BackEdit, settings::kNone, 192, 64, 345, 26, forms::opReadOnly | forms::opNoTabStop, back},
      {BackRBtn2, "デスクトップ", 96, 98, 120, 17, 0, back},
      {Panel1, "", 16, 152, 553, 169, 0, page},
      {ImagePosLbl, "画像を表示する位置", 16, 20, 0, 0, 0, pos},
      {ImagePosRBtn0, "画面の中央", 224, 19, 120, 17, forms::opGroup | forms::opChecked, pos},
      {ImagePosRBtn1, "ランダム", 360, 19, 100, 17, 0, pos},
      {FirstDelayLbl, "画像を最初に表示するまでの時間", 16, 54, 0, 0, 0, pos},
      {FirstDelayEdit, "", 304, 50, 65, 24, forms::opGroup, pos},
      {FirstDelayUnitLbl, "ミリ秒", 376, 54, 0, 0, 0, pos},
      {ImageOnLbl, "画像が表示されている時間", 16, 91, 0, 0, 0, pos},
      {ImageOnEdit, "", 304, 87, 65, 24, forms::opGroup, pos},
      {ImageOnUnitLbl, "ミリ秒", 376, 91, 0, 0, 0, pos},
      {ImageOffLbl, "画像が消去されている時間", 16, 128, 0, 0, 0, pos},
      {ImageOffEdit, "", 304, 124, 65, 24, forms::opGroup, pos},
      {ImageOffUnitLbl, "ミリ秒", 376, 128, 0, 0, 0, pos},
      // Last in the tab order and below the position panel: no control above moves.
      {ImageFitCBox, "大きな画像は画面に合わせて縮小する", 32, 328, 256, 17, forms::opGroup, page},
      // In the free corner right of the delays, after them in the tab order.
      {MonitorsBox, "複数モニター", 432, 46, 105, 108, 0, pos},
      {MonitorsRBtn0, "メインのみ", 10, 24, 90, 17, forms::opGroup, &MonitorsBox},
      {MonitorsRBtn1, "別々の画像", 10, 52, 90, 17, forms::opChecked, &MonitorsBox},
      {MonitorsRBtn2, "同じ画像", 10, 80, 90, 17, 0, &MonitorsBox},
  });
  for (const saver::BackColour& colour : saver::kBackColours) BackCmbBox.Add(colour.Name);
  BackCmbBox.SetItemIndex(0);
  // Six characters of any kind: the conversion on OK is the only check.
  for (forms::Edit* edit : {&FirstDelayEdit, &ImageOnEdit, &ImageOffEdit}) edit->SetMaxLength(kDelayMaxLength);
}

// Background image chooser. The radio stays as it is: choosing a file is not
// choosing the image background.
void EtcPage::Button1Click() {
  files_.Options = forms::ofHideReadOnly | forms::ofAllowMultiSelect | forms::ofPathMustExist |
                       forms::ofFileMustExist;
  files_.Filter = GraphicFilter();
  files_.FileName = GraphicPattern();
  if (files_.Execute()) BackEdit.SetText(files_.FileName);
}

void EtcPage::Show(const settings::Theme& t) {
  if (t.ImagePosRandom) ImagePosRBtn1.SetChecked(true);
  ImageFitCBox.SetChecked(t.ImageFit);
  MonitorsRBtn[t.Monitors >= 0 && t.Monitors < 3 ? t.Monitors : settings::kEachOwn]->SetChecked(true);
  // An index outside the list leaves the colour box without a selection.
  BackCmbBox.SetItemIndex(t.BackColor >= 0 && t.BackColor < BackCmbBox.Count() ? t.BackColor : -1);
  BackEdit.SetText(t.BackFileName);
  forms::RadioButton* back[] = {&BackRBtn0, &BackRBtn1, &BackRBtn2};
  if (t.BackGround >= 0 && t.BackGround <= 2) back[t.BackGround]->SetChecked(true);
  keptBackGround_ = t.BackGround;

  FirstDelayEdit.SetText(std::to_string(t.FirstDelay));
  ImageOnEdit.SetText(std::to_string(t.ImageOnDelay));
  ImageOffEdit.SetText(std::to_string(t.ImageOffDelay));
  forms::Application::Get().OnActiveControlChange = [this] { DelayEditCheck(); };
  hooked_ = true;
}

void EtcPage::Collect(settings::Theme& t) const {
  t.FirstDelay = settings::StrToInt(FirstDelayEdit.Text());
  t.ImageOnDelay = settings::StrToInt(ImageOnEdit.Text());
  t.ImageOffDelay = settings::StrToInt(ImageOffEdit.Text());
  t.ImagePosRandom = ImagePosRBtn1.Checked();
  t.ImageFit = ImageFitCBox.Checked();
  for (int m = 0; m < 3; ++m)
    if (MonitorsRBtn[m]->Checked()) t.Monitors = m;
  t.BackGround = BackRBtn0.Checked() ? 0 : BackRBtn1.Checked() ? 1 : BackRBtn2.Checked() ? 2 : keptBackGround_;
  t.BackColor = BackCmbBox.ItemIndex();
  t.BackFileName = BackEdit.Text();
}

// A delay field left empty reads 0 once the focus has moved on.
void EtcPage::DelayEditCheck() {
  for (forms::Edit* edit : {&FirstDelayEdit, &ImageOnEdit, &ImageOffEdit})
    if (edit->Handle() && edit->Text().empty()) edit->SetText("0");
}

void EtcPage::Close() {
  if (hooked_) forms::Application::Get().OnActiveControlChange = nullptr;
  hooked_ = false;
}
