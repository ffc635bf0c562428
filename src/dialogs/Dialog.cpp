#include "dialogs/Dialog.h"

#include <windows.h>
#include <mmsystem.h>

#include "dialogs/FileLists.h"
#include "forms/Application.h"
#include "saver/WaveSound.h"
#include "settings/Convert.h"

using forms::ControlRow;

namespace {
// Help topics of the four pages, in page order.
const int kPageHelpContext[] = {3, 4, 5, 6};
}  // namespace


TSetDialog::TSetDialog(int theme) : Form("TSetDialog", "SetDialog"), theme_(theme) {
  Create();
  SetCaption(std::string("Glimoraの設定：") + settings::key::ThemeName.dialog);
  SetFont("System", 13);
  SetDesignClientSize(593, 414);
  CenterOnScreen();
  HelpContext = 3;
  CreateFrame();
  CreateImagePage();
  CreateMusicPage();
  CreateEffectsPage();
  CreateEtcPage();
  // Default and cancel buttons last in tab order, as the frame's own row.
  forms::CreateControls({
      {OKBtn, "O    K", 136, 382, 153, 29, forms::opDefault | forms::opGroup},
      {CanncelBtn, "キャンセル", 304, 382, 145, 29, forms::opCancel},
      {SetHelpBtn, "ヘ ル プ", 464, 382, 113, 29},
      {WavListBox, "", 8, 384, 25, 25, forms::opHidden | forms::opNoTabStop},
  });
  MidiTestPlayer.Create();
  WireHandlers();
  AcceptDrops();
  forms::Guarded([this] { FormCreate(); });
}

TSetDialog::~TSetDialog() {
  // Also when the window never closed (created, then dropped): no handler
  // may outlive the dialog it points into.
  if (hooked_) forms::Application::Get().OnActiveControlChange = nullptr;
}

void TSetDialog::CreateFrame() {
  forms::CreateControls({
      {SetPageControl, "", 0, 0, 593, 377},
      {ImageSheet, "画像／音声", 0, 0, 0, 0, 0, &SetPageControl},
      {BGMSheet, "  ＢＧＭ  ", 0, 0, 0, 0, 0, &SetPageControl},
      {EffectSheet, "エフェクト", 0, 0, 0, 0, 0, &SetPageControl},
      {EtcSheet, "  その他  ", 0, 0, 0, 0, 0, &SetPageControl},
  });
  for (int i = 0; i < SetPageControl.PageCount(); ++i)
    SetPageControl.Page(i).HelpContext = kPageHelpContext[i];
}

void TSetDialog::WireHandlers() {
  OKBtn.OnClick = [this] { OKBtnClick(); };
  CanncelBtn.OnClick = [this] { CanncelBtnClick(); };
  SetHelpBtn.OnClick = [this] { SetHelpBtnClick(); };
  SetPageControl.OnChange = [this] { SetPageControlChange(); };
  Button1.OnClick = [this] { Button1Click(); };

  ImageListBox.OnClick = [this] { ImageListBoxClick(); };
  ImageListBox.OnDoubleClick = [this] { ImageShowBtnClick(); };
  ImageAddBtn.OnClick = [this] { ImageAddBtnClick(); };
  ImageUpBtn.OnClick = [this] { ImageUpBtnClick(); };
  ImageDownBtn.OnClick = [this] { ImageDownBtnClick(); };
  ImageDeleteBtn.OnClick = [this] { ImageDeleteBtnClick(); };
  ImageShowBtn.OnClick = [this] { ImageShowBtnClick(); };
  FolderAddBtn.OnClick = [this] { FolderAddBtnClick(); };
  FolderCountTimer.OnTimer = [this] { FolderCountTimerTimer(); };
  WavSetBtn.OnClick = [this] { WavSetBtnClick(); };
  WavDeleteBtn.OnClick = [this] { WavDeleteBtnClick(); };
  WavPlayBtn.OnClick = [this] { WavPlayBtnClick(); };
  WavPlayEdit.OnDoubleClick = [this] { WavPlayBtnClick(); };

  MidiListBox.OnClick = [this] { MidiListBoxClick(); };
  MidiListBox.OnDoubleClick = [this] { MidiPlayBtnClick(); };
  MidiAddBtn.OnClick = [this] { MidiAddBtnClick(); };
  MidiUpBtn.OnClick = [this] { MidiUpBtnClick(); };
  MidiDownBtn.OnClick = [this] { MidiDownBtnClick(); };
  MidiDeleteBtn.OnClick = [this] { MidiDeleteBtnClick(); };
  MidiPlayBtn.OnClick = [this] { MidiPlayBtnClick(); };
  MidiTestPlayer.OnNotify = [this] { MidiTestPlayerNotify(); };
}

void TSetDialog::FormCreate() {
  settings::IniFile ini;
  kept_ = settings::ReadTheme(ini, theme_, settings::Role::Dialog);
  Show(kept_);
  midiTestPlaying_ = false;
  forms::Application::Get().OnActiveControlChange = [this] { DelayEditCheck(); };
  hooked_ = true;
}

void TSetDialog::Show(const settings::Theme& t) {
  for (const std::string& name : t.Images) ImageListBox.Add(name);
  for (const std::string& name : t.Waves) WavListBox.Add(name);
  CountFolders();
  if (t.ImageOrdRandom) ImageOrderRBtn1.SetChecked(true);
  FromLastImgCBox.SetChecked(t.FromLastImage);

  if (t.BGM) BGMRBtn0.SetChecked(true);
  for (const std::string& name : t.Midis) MidiListBox.Add(name);
  if (t.MidiOrdRandom) MidiOrderRBtn1.SetChecked(true);
  FromLastMidiCBox.SetChecked(t.FromLastMidi);

  for (int k = 0; k < settings::kEffectKinds; ++k) {
    ImageOnBtn[k]->SetChecked(t.AppearOn[k]);
    ImageOffBtn[k]->SetChecked(t.EraseOn[k]);
  }
  ImageFadeInScrBar.SetPosition(t.AppearSpeed);
  ImageFadeOutScrBar.SetPosition(t.EraseSpeed);
  NoEraseCBox.SetChecked(t.NotErase);

  if (t.ImagePosRandom) ImagePosRBtn1.SetChecked(true);
  ImageFitCBox.SetChecked(t.ImageFit);
  PanZoomCBox.SetChecked(t.PanZoom);
  BlurFillCBox.SetChecked(t.BlurFill);
  MonitorsRBtn[t.Monitors >= 0 && t.Monitors < 3 ? t.Monitors : settings::kEachOwn]->SetChecked(true);
  // An index outside the list leaves the colour box without a selection.
  BackCmbBox.SetItemIndex(t.BackColor >= 0 && t.BackColor < BackCmbBox.Count() ? t.BackColor : -1);
  BackEdit.SetText(t.BackFileName);
  forms::RadioButton* back[] = {&BackRBtn0, &BackRBtn1, &BackRBtn2};
  if (t.BackGround >= 0 && t.BackGround <= 2) back[t.BackGround]->SetChecked(true);

  FirstDelayEdit.SetText(std::to_string(t.FirstDelay));
  ImageOnEdit.SetText(std::to_string(t.ImageOnDelay));
  ImageOffEdit.SetText(std::to_string(t.ImageOffDelay));
}

settings::Theme TSetDialog::Collect() const {
  settings::Theme t = kept_;  // title and last numbers as read
  // The delays first: an edit that holds no integer stops the save before
  // anything has been touched.
  t.FirstDelay = settings::StrToInt(FirstDelayEdit.Text());
  t.ImageOnDelay = settings::StrToInt(ImageOnEdit.Text());
  t.ImageOffDelay = settings::StrToInt(ImageOffEdit.Text());

  t.Images.clear();
  t.Waves.clear();
  for (int k = 0; k < ImageListBox.Count(); ++k) {
    t.Images.push_back(Entry(ImageListBox, k));
    t.Waves.push_back(WavListBox.Item(k));
  }
  t.ImageOrdRandom = ImageOrderRBtn1.Checked();
  t.FromLastImage = FromLastImgCBox.Checked();

  t.BGM = BGMRBtn0.Checked();
  t.Midis.clear();
  for (int k = 0; k < MidiListBox.Count(); ++k) t.Midis.push_back(MidiListBox.Item(k));
  t.MidiOrdRandom = MidiOrderRBtn1.Checked();
  t.FromLastMidi = FromLastMidiCBox.Checked();

  for (int k = 0; k < settings::kEffectKinds; ++k) {
    t.AppearOn[k] = ImageOnBtn[k]->Checked();
    t.EraseOn[k] = ImageOffBtn[k]->Checked();
  }
  t.AppearSpeed = ImageFadeInScrBar.Position();
  t.EraseSpeed = ImageFadeOutScrBar.Position();
  t.NotErase = NoEraseCBox.Checked();

  t.ImagePosRandom = ImagePosRBtn1.Checked();
  t.ImageFit = ImageFitCBox.Checked();
  t.PanZoom = PanZoomCBox.Checked();
  t.BlurFill = BlurFillCBox.Checked();
  for (int m = 0; m < 3; ++m)
    if (MonitorsRBtn[m]->Checked()) t.Monitors = m;
  t.BackGround = BackRBtn0.Checked() ? 0 : BackRBtn1.Checked() ? 1 : BackRBtn2.Checked() ? 2 : kept_.BackGround;
  t.BackColor = BackCmbBox.ItemIndex();
  t.BackFileName = BackEdit.Text();
  return t;
}

void TSetDialog::OKBtnClick() {
  ApplyEffectMinimum();
  const settings::Theme theme = Collect();
  settings::IniFile ini;
  settings::WriteTheme(ini, theme_, theme);
  SetModalResult(forms::mrOk);
}

void TSetDialog::CanncelBtnClick() { SetModalResult(forms::mrCancel); }

void TSetDialog::SetHelpBtnClick() {
  const int page = SetPageControl.ActivePageIndex();
  if (page >= 0 && page < 4) forms::Application::Get().HelpContext(kPageHelpContext[page]);
}

void TSetDialog::SetPageControlChange() {
  saver::StopWave();
  StopMidiTest();
  ApplyEffectMinimum();
}

void TSetDialog::DelayEditCheck() {
  for (forms::Edit* edit : {&FirstDelayEdit, &ImageOnEdit, &ImageOffEdit})
    if (edit->Handle() && edit->Text().empty()) edit->SetText("0");
}

void TSetDialog::FormClose(forms::CloseAction& action) {
  saver::StopWave();
  MidiTestPlayer.Close();
  midiTestPlaying_ = false;
  if (hooked_) forms::Application::Get().OnActiveControlChange = nullptr;
  hooked_ = false;
  action = forms::CloseAction::Free;
}
