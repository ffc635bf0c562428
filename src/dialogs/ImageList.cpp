// The image page: the image list with the WAV sound of each image, the test
// display and the WAV test play.
#include <windows.h>
#include <mmsystem.h>

#include "dialogs/Dialog.h"
#include "dialogs/FileLists.h"
#include "dialogs/Imgtest.h"
#include "forms/Error.h"
#include "forms/FolderDialog.h"
#include "library/FolderEntry.h"
#include "saver/WaveSound.h"
#include "settings/Keys.h"

void TSetDialog::CreateImagePage() {
  forms::Control* page = &ImageSheet;
  forms::CreateControls({
      {ImageListLbl, "表示するグラフィックファイルのリスト", 16, 16, 0, 0, 0, page},
      {ImageListBox, "", 16, 40, 425, 153, forms::opMultiSelect | forms::opNoTabStop | forms::opTabStops, page},
      {ImageAddBtn, "追    加", 448, 40, 121, 33, forms::opGroup, page},
      {ImageUpBtn, "上 へ", 448, 80, 57, 33, 0, page},
      {ImageDownBtn, "下 へ", 512, 80, 57, 33, 0, page},
      {ImageDeleteBtn, "削    除", 448, 120, 121, 33, 0, page},
      {ImageShowBtn, "テスト表示", 448, 160, 121, 33, 0, page},
      // In the free place under the column of list buttons.
      {FolderAddBtn, "フォルダ追加", 448, 200, 121, 33, 0, page},
      {ImageOrderLbl, "表示する順番", 16, 202, 0, 0, 0, page},
      {ImageOrderRBtn0, "リストの順番", 152, 200, 120, 17, forms::opGroup | forms::opChecked, page},
      {ImageOrderRBtn1, "ランダム", 288, 200, 100, 17, 0, page},
      {FromLastImgCBox, "前回の続きから表示する", 16, 224, 250, 17, forms::opGroup, page},
      {WavPlayLbl, "同時に再生する", 16, 256, 0, 0, 0, page},
      {Label3, "ＷＡＶファイル", 16, 276, 0, 0, 0, page},
      {WavPlayEdit, "", 144, 256, 393, 26, forms::opReadOnly | forms::opNoTabStop, page},
      {WavSetBtn, "設    定", 144, 288, 121, 33, forms::opGroup, page},
      {WavDeleteBtn, "削    除", 280, 288, 121, 33, 0, page},
      {WavPlayBtn, "テスト再生", 416, 288, 121, 33, 0, page},
  });
}

// Every image control but delete works on one image at a time.
void TSetDialog::SetImageControlsEnabled(bool enabled) {
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &ImageAddBtn, &FolderAddBtn, &ImageUpBtn, &ImageDownBtn, &ImageShowBtn, &WavPlayEdit, &WavSetBtn,
           &WavDeleteBtn, &WavPlayBtn})
    c->SetEnabled(enabled);
}

void TSetDialog::ImageListBoxClick() {
  saver::StopWave();
  SetImageControlsEnabled(ImageListBox.SelCount() <= 1);
  WavPlayEdit.SetText(WavListBox.Item(ImageListBox.ItemIndex()));
}

void TSetDialog::ImageAddBtnClick() {
  saver::StopWave();
  PrepareAddDialog(OpenDialog, GraphicFilter().c_str(), GraphicPattern().c_str());
  if (!OpenDialog.Execute()) return;
  InsertBeforeCurrent(ImageListBox, &WavListBox, OpenDialog.Files(), settings::kNone);
  if (ImageListBox.SelCount() >= 2) SetImageControlsEnabled(false);
}


// A folder entry: the folder's path with a trailing backslash; its pictures
// are counted in the background.
void TSetDialog::FolderAddBtnClick() {
  saver::StopWave();
  forms::FolderDialog dialog;
  dialog.Title = "追加するフォルダ";
  const forms::FolderDialog::Outcome outcome = dialog.Execute();
  if (outcome == forms::FolderDialog::Outcome::NoAnsiName)
    throw forms::Error("このフォルダの名前には使えない文字があります");
  if (outcome != forms::FolderDialog::Outcome::Chosen) return;
  InsertBeforeCurrent(ImageListBox, &WavListBox, {library::AsFolderEntry(dialog.Folder())}, settings::kNone);
  CountFolders();
}

void TSetDialog::FolderCountTimerTimer() { CountFolders(); }

void TSetDialog::CountFolders() { FolderCountTimer.SetEnabled(folderCounts_.Refresh()); }

void TSetDialog::ImageUpBtnClick() { MoveSelectedUp(ImageListBox, &WavListBox); }

void TSetDialog::ImageDownBtnClick() { MoveSelectedDown(ImageListBox, &WavListBox); }

void TSetDialog::ImageDeleteBtnClick() {
  saver::StopWave();
  if (ImageListBox.Count() == 0) return;
  DeleteSelected(ImageListBox, &WavListBox);
  WavPlayEdit.SetText("");
  SetImageControlsEnabled(true);
}

// Each selected image in its own modal window, one after the other; a
// folder entry steps through the pictures found in it (Space for the next,
// Escape to stop).
void TSetDialog::ImageShowBtnClick() {
  if (ImageListBox.Count() == 0) return;
  for (int i : SelectedIndexes(ImageListBox)) {
    const std::string entry = Entry(ImageListBox, i);
    if (!library::IsFolderEntry(entry)) {
      ShowTestImage(entry, false);
      continue;
    }
    CountFolders();
    const library::FolderWalk* walk = folderCounts_.Walk(entry);
    for (size_t k = 0; walk && k < walk->Count(); ++k)
      if (ShowTestImage(walk->Path(k), true) != forms::mrOk) break;
  }
}

int TSetDialog::ShowTestImage(const std::string& name, bool stepping) {
  ImageShowBtn.SetText("(画像読込中..)");
  UpdateWindow(ImageShowBtn.Handle());
  TImageTestForm form(name, &ImageShowBtn);
  if (stepping) form.AllowStepping();
  return form.ShowModal();
}

void TSetDialog::WavSetBtnClick() {
  if (ImageListBox.Count() == 0) return;
  saver::StopWave();
  OpenDialog.Options = forms::ofHideReadOnly | forms::ofPathMustExist | forms::ofFileMustExist;
  OpenDialog.Filter = kSoundFilter;
  OpenDialog.FileName = kSoundPattern;
  for (int i : SelectedIndexes(ImageListBox)) {
    if (!OpenDialog.Execute()) continue;
    WavListBox.Delete(i);
    WavListBox.Insert(i, OpenDialog.FileName);
    WavPlayEdit.SetText(OpenDialog.FileName);
  }
}

void TSetDialog::WavDeleteBtnClick() {
  if (ImageListBox.Count() == 0) return;
  saver::StopWave();
  for (int i : SelectedIndexes(ImageListBox)) {
    WavListBox.Delete(i);
    WavListBox.Insert(i, settings::kNone);
    WavPlayEdit.SetText(settings::kNone);
  }
}

// "なし", an empty text or a missing file stay silent (no default sound).
void TSetDialog::WavPlayBtnClick() {
  saver::StopWave();
  sndPlaySoundA(WavPlayEdit.Text().c_str(), SND_ASYNC | SND_NODEFAULT);
}
