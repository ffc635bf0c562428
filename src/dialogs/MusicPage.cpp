#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "dialogs/MusicPage.h"

#include "app/HelpTopics.h"
#include "dialogs/DropReport.h"
#include "dialogs/FileLists.h"
#include "forms/Application.h"
#include "forms/ControlRow.h"
#include "forms/Error.h"

namespace {
const char kPlayCaption[] = "テスト再生";
const char kPreparingCaption[] = "(再生準備中..)";
const char kStopCaption[] = "再生をやめる";

// The system's text for an MCI error, with its code, as the user sees it.
std::string MciErrorMessage(MCIERROR code) {
  return forms::MediaPlayer::ErrorText(code, "原因不明のｴﾗｰ") + "\r\n(エラーコード:" + std::to_string(code) + ")";
}
}  // namespace

MusicPage::MusicPage(const PageHome& home)
    : ThemePage(home, "BGMSheet", "  ＢＧＭ  ", app::kHelpMusic), files_(home.files) {
  CreateControls();
  MidiListBox.OnClick = [this] { MidiListBoxClick(); };
  MidiListBox.OnDoubleClick = [this] { MidiPlayBtnClick(); };
  MidiAddBtn.OnClick = [this] { MidiAddBtnClick(); };
  // Moving leaves a running test alone.
  MidiUpBtn.OnClick = [this] { MoveSelectedUp(MidiListBox, nullptr); };
  MidiDownBtn.OnClick = [this] { MoveSelectedDown(MidiListBox, nullptr); };
  MidiDeleteBtn.OnClick = [this] { MidiDeleteBtnClick(); };
  MidiPlayBtn.OnClick = [this] { MidiPlayBtnClick(); };
  MidiTestPlayer.OnNotify = [this] {
    midiTestPlaying_ = false;
    MidiPlayBtn.SetText(kPlayCaption);
  };
}

void MusicPage::CreateControls() {
  forms::Control* page = &Sheet;
  forms::Control* panel = &BGMPanel;
  forms::CreateControls({
      {BGMPanel, "", 16, 16, 553, 41, 0, page},
      {BGMLbl, "ＢＧＭの再生", 24, 12, 0, 0, 0, panel},
      {BGMRBtn0, " Ｏ Ｎ", 168, 12, 90, 17, forms::opGroup, panel},
      {BGMRBtn1, " ＯＦＦ", 272, 12, 90, 17, forms::opChecked, panel},
      {MidiListLbl, "ＢＧＭにするＭＩＤＩファイルのリスト", 16, 72, 0, 0, 0, page},
      {MidiListBox, "", 16, 96, 425, 153, forms::opMultiSelect | forms::opNoTabStop, page},
      {MidiAddBtn, "追    加", 448, 96, 121, 33, forms::opGroup, page},
      {MidiUpBtn, "上 へ", 448, 136, 57, 33, 0, page},
      {MidiDownBtn, "下 へ", 512, 136, 57, 33, 0, page},
      {MidiDeleteBtn, "削    除", 448, 176, 121, 33, 0, page},
      {MidiPlayBtn, kPlayCaption, 448, 216, 121, 33, 0, page},
      {MidiOrderLbl, "再生する順番", 16, 260, 0, 0, 0, page},
      {MidiOrderRBtn0, "リストの順番", 152, 256, 120, 17, forms::opGroup | forms::opChecked, page},
      {MidiOrderRBtn1, "ランダム", 288, 256, 100, 17, 0, page},
      {FromLastMidiCBox, "前回の続きから再生する", 16, 282, 250, 17, forms::opGroup, page},
  });
  MidiTestPlayer.Create();
  drop_ = std::make_unique<forms::FileDrop>(Sheet);
  drop_->Add(MidiListBox, [this](const std::vector<std::string>& f) { MidiListBoxDrop(f); });
}

void MusicPage::Show(const settings::Theme& t) {
  if (t.BGM) BGMRBtn0.SetChecked(true);
  for (const std::string& name : t.Midis) MidiListBox.Add(name);
  if (t.MidiOrdRandom) MidiOrderRBtn1.SetChecked(true);
  FromLastMidiCBox.SetChecked(t.FromLastMidi);
}

void MusicPage::Collect(settings::Theme& t) const {
  t.BGM = BGMRBtn0.Checked();
  t.Midis.clear();
  for (int k = 0; k < MidiListBox.Count(); ++k) t.Midis.push_back(MidiListBox.Item(k));
  t.MidiOrdRandom = MidiOrderRBtn1.Checked();
  t.FromLastMidi = FromLastMidiCBox.Checked();
}

void MusicPage::Close() {
  MidiTestPlayer.Close();
  midiTestPlaying_ = false;
}

void MusicPage::SetMusicControlsEnabled(bool enabled) {
  for (forms::Button* b : {&MidiAddBtn, &MidiUpBtn, &MidiDownBtn, &MidiPlayBtn}) b->SetEnabled(enabled);
}

void MusicPage::StopMidiTest() {
  if (!midiTestPlaying_) return;
  MidiTestPlayer.Close();
  midiTestPlaying_ = false;
  MidiPlayBtn.SetText(kPlayCaption);
}

void MusicPage::MidiListBoxClick() {
  StopMidiTest();
  SetMusicControlsEnabled(MidiListBox.SelCount() <= 1);
}

void MusicPage::MidiAddBtnClick() {
  StopMidiTest();
  PrepareAddDialog(files_, kMidiFilter, kMidiPattern);
  if (!files_.Execute()) return;
  InsertBeforeCurrent(MidiListBox, nullptr, files_.Files(), "");
  if (MidiListBox.SelCount() >= 2) SetMusicControlsEnabled(false);
}

void MusicPage::MidiDeleteBtnClick() {
  StopMidiTest();
  if (MidiListBox.Count() == 0) return;
  DeleteSelected(MidiListBox, nullptr);
  SetMusicControlsEnabled(true);
}

// One press starts the test, the next one stops it.
void MusicPage::MidiPlayBtnClick() {
  if (MidiListBox.Count() == 0) return;
  MidiTestPlayer.Close();
  if (midiTestPlaying_) {
    MidiPlayBtn.SetText(kPlayCaption);
    midiTestPlaying_ = false;
    return;
  }
  for (int i : SelectedIndexes(MidiListBox)) {
    midiTestPlaying_ = true;
    MidiPlayBtn.SetText(kPreparingCaption);
    UpdateWindow(MidiPlayBtn.Handle());
    MidiTestPlayer.SetFileName(MidiListBox.Item(i));
    try {
      MidiTestPlayer.Open();
    } catch (const forms::Error&) {
      // The code is what the message needs; the player has recorded it.
    }
    if (MidiTestPlayer.ErrorCode() == 0) MidiTestPlayer.Play();
    const MCIERROR error = MidiTestPlayer.ErrorCode();
    if (error != 0) {
      MidiTestPlayer.Close();
      const std::string message = MciErrorMessage(error);
      MessageBoxA(dialog_.Handle(), message.c_str(), forms::Application::Get().Title().c_str(),
                  MB_OK | MB_ICONERROR);
      MidiPlayBtn.SetText(kPlayCaption);
      midiTestPlaying_ = false;
      return;
    }
    MidiPlayBtn.SetText(kStopCaption);
  }
}

void MusicPage::MidiListBoxDrop(const std::vector<std::string>& files) {
  StopMidiTest();
  std::vector<std::string> added, leftOut;
  for (const std::string& file : files)
    (HasExtension(file, {".MID", ".RMI"}) && !IsFolder(file) ? added : leftOut).push_back(file);
  if (!added.empty()) {
    InsertBeforeCurrent(MidiListBox, nullptr, added, "");
    SetMusicControlsEnabled(MidiListBox.SelCount() <= 1);
  }
  ReportLeftOut(dialog_.Handle(), leftOut, "ＭＩＤＩファイルではないため追加しませんでした:");
}
