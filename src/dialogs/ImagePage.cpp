#include <windows.h>
#include <mmsystem.h>

#include "dialogs/ImagePage.h"

#include "app/HelpTopics.h"
#include "dialogs/DropReport.h"
#include "dialogs/FileLists.h"
#include "dialogs/Imgtest.h"
#include "forms/ControlRow.h"
#include "forms/Error.h"
#include "forms/FolderDialog.h"
#include "library/FolderEntry.h"
#include "library/FolderListing.h"
#include "library/PictureKinds.h"
#include "saver/WaveSound.h"
#include "settings/Keys.h"

ImagePage::ImagePage(const PageHome& home)
    : ThemePage(home, "ImageSheet", "画像／音声", app::kHelpImages), files_(home.files) {
  CreateControls();
  ImageListBox.OnClick = [this] { ImageListBoxClick(); };
  ImageListBox.OnDoubleClick = [this] { ImageShowBtnClick(); };
  ImageAddBtn.OnClick = [this] { ImageAddBtnClick(); };
  ImageUpBtn.OnClick = [this] { MoveSelectedUp(ImageListBox, &WavListBox); };
  ImageDownBtn.OnClick = [this] { MoveSelectedDown(ImageListBox, &WavListBox); };
  ImageDeleteBtn.OnClick = [this] { ImageDeleteBtnClick(); };
  ImageShowBtn.OnClick = [this] { ImageShowBtnClick(); };
  FolderAddBtn.OnClick = [this] { FolderAddBtnClick(); };
  FolderCountTimer.OnTimer = [this] { CountFolders(); };
  WavSetBtn.OnClick = [this] { WavSetBtnClick(); };
  WavDeleteBtn.OnClick = [this] { WavDeleteBtnClick(); };
  WavPlayBtn.OnClick = [this] { WavPlayBtnClick(); };
  WavPlayEdit.OnDoubleClick = [this] { WavPlayBtnClick(); };
}

void ImagePage::CreateControls() {
  forms::Control* page = &Sheet;
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
      {WavListBox, "", 8, 300, 25, 25, forms::opHidden | forms::opNoTabStop, page},
  });
  drop_ = std::make_unique<forms::FileDrop>(Sheet);
  drop_->Add(ImageListBox, [this](const std::vector<std::string>& f) { ImageListBoxDrop(f); });
  drop_->Add(WavPlayEdit, [this](const std::vector<std::string>& f) { WavPlayEditDrop(f); });
}

void ImagePage::Show(const settings::Theme& t) {
  for (const std::string& name : t.Images) ImageListBox.Add(name);
  for (const std::string& name : t.Waves) WavListBox.Add(name);
  CountFolders();
  if (t.ImageOrdRandom) ImageOrderRBtn1.SetChecked(true);
  FromLastImgCBox.SetChecked(t.FromLastImage);
}

void ImagePage::Collect(settings::Theme& t) const {
  t.Images.clear();
  t.Waves.clear();
  for (int k = 0; k < ImageListBox.Count(); ++k) {
    t.Images.push_back(Entry(ImageListBox, k));
    t.Waves.push_back(WavListBox.Item(k));
  }
  t.ImageOrdRandom = ImageOrderRBtn1.Checked();
  t.FromLastImage = FromLastImgCBox.Checked();
}

void ImagePage::Leave() { saver::StopWave(); }

// Every image control but delete works on one image at a time.
void ImagePage::SetImageControlsEnabled(bool enabled) {
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &ImageAddBtn, &FolderAddBtn, &ImageUpBtn, &ImageDownBtn, &ImageShowBtn, &WavPlayEdit, &WavSetBtn,
           &WavDeleteBtn, &WavPlayBtn})
    c->SetEnabled(enabled);
}

void ImagePage::ImageListBoxClick() {
  saver::StopWave();
  SetImageControlsEnabled(ImageListBox.SelCount() <= 1);
  WavPlayEdit.SetText(WavListBox.Item(ImageListBox.ItemIndex()));
}

void ImagePage::ImageAddBtnClick() {
  saver::StopWave();
  PrepareAddDialog(files_, GraphicFilter().c_str(), GraphicPattern().c_str());
  if (!files_.Execute()) return;
  InsertBeforeCurrent(ImageListBox, &WavListBox, files_.Files(), settings::kNone);
  if (ImageListBox.SelCount() >= 2) SetImageControlsEnabled(false);
}


// A folder entry: the folder's path with a trailing backslash; its pictures
// are counted in the background.
void ImagePage::FolderAddBtnClick() {
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

void ImagePage::CountFolders() { FolderCountTimer.SetEnabled(folderCounts_.Refresh()); }

void ImagePage::ImageDeleteBtnClick() {
  saver::StopWave();
  if (ImageListBox.Count() == 0) return;
  DeleteSelected(ImageListBox, &WavListBox);
  WavPlayEdit.SetText("");
  SetImageControlsEnabled(true);
}

// Each selected image in its own modal window, one after the other; a
// folder entry steps through the pictures found in it (Space for the next,
// Escape to stop).
void ImagePage::ImageShowBtnClick() {
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

int ImagePage::ShowTestImage(const std::string& name, bool stepping) {
  ImageShowBtn.SetText("(画像読込中..)");
  UpdateWindow(ImageShowBtn.Handle());
  TImageTestForm form(name, &ImageShowBtn);
  if (stepping) form.AllowStepping();
  return form.ShowModal();
}

void ImagePage::WavSetBtnClick() {
  if (ImageListBox.Count() == 0) return;
  saver::StopWave();
  files_.Options = forms::ofHideReadOnly | forms::ofPathMustExist | forms::ofFileMustExist;
  files_.Filter = kSoundFilter;
  files_.FileName = kSoundPattern;
  for (int i : SelectedIndexes(ImageListBox)) {
    if (!files_.Execute()) continue;
    WavListBox.Delete(i);
    WavListBox.Insert(i, files_.FileName);
    WavPlayEdit.SetText(files_.FileName);
  }
}

void ImagePage::WavDeleteBtnClick() {
  if (ImageListBox.Count() == 0) return;
  saver::StopWave();
  for (int i : SelectedIndexes(ImageListBox)) {
    WavListBox.Delete(i);
    WavListBox.Insert(i, settings::kNone);
    WavPlayEdit.SetText(settings::kNone);
  }
}

// "なし", an empty text or a missing file stay silent (no default sound).
void ImagePage::WavPlayBtnClick() {
  saver::StopWave();
  sndPlaySoundA(WavPlayEdit.Text().c_str(), SND_ASYNC | SND_NODEFAULT);
}

// As 追加 and フォルダ追加 would add them: before the current entry, selected.
void ImagePage::ImageListBoxDrop(const std::vector<std::string>& files) {
  saver::StopWave();
  static const library::PictureKinds kinds = library::PictureKinds::All();
  std::vector<std::string> added, leftOut;
  for (const std::string& file : files) {
    if (IsFolder(file))
      added.push_back(library::AsFolderEntry(file));
    else if (kinds.IsPicture(library::FromAnsi(file)))
      added.push_back(file);
    else
      leftOut.push_back(file);
  }
  if (!added.empty()) {
    InsertBeforeCurrent(ImageListBox, &WavListBox, added, settings::kNone);
    SetImageControlsEnabled(ImageListBox.SelCount() <= 1);
    CountFolders();
  }
  ReportLeftOut(dialog_.Handle(), leftOut, "画像ファイルでもフォルダでもないため追加しませんでした:");
}

// The sound of every selected image, as 設定 would set it.
void ImagePage::WavPlayEditDrop(const std::vector<std::string>& files) {
  if (files.empty() || ImageListBox.Count() == 0) return;
  saver::StopWave();
  if (files.size() > 1 || !HasExtension(files[0], {".WAV"}))
    return ReportLeftOut(dialog_.Handle(), files, "ＷＡＶファイルをひとつだけ置いてください:");
  const std::vector<int> selected = SelectedIndexes(ImageListBox);
  if (selected.empty()) return;
  for (int i : selected) {
    WavListBox.Delete(i);
    WavListBox.Insert(i, files[0]);
  }
  WavPlayEdit.SetText(files[0]);
}
