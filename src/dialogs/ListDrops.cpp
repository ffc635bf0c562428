// Files dragged from Explorer onto the theme's lists: pictures and folders
// on the image list, a WAV file on the WAV field, MIDI files on the music
// list. What a list cannot take is named in one short message.
#include <windows.h>

#include "dialogs/Dialog.h"
#include "dialogs/FileLists.h"
#include "forms/Application.h"
#include "library/FolderEntry.h"
#include "library/FolderListing.h"
#include "library/PictureKinds.h"
#include "picture/Decoders.h"
#include "saver/WaveSound.h"
#include "settings/Keys.h"

namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasExtension(const std::string& path, std::initializer_list<const char*> extensions) {
  const std::string extension = picture::PictureExtension(path);
  for (const char* e : extensions)
    if (extension == e) return true;
  return false;
}

// The name after the last backslash (a folder keeps its own name).
std::string ShortName(std::string path) {
  while (library::IsFolderEntry(path) && path.size() > 3) path.pop_back();
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One message naming what was left out: the first few names, then how many more.
void ReportLeftOut(HWND owner, const std::vector<std::string>& leftOut, const char* reason) {
  if (leftOut.empty()) return;
  std::string text = reason;
  const size_t shown = leftOut.size() > 5 ? 4 : leftOut.size();
  for (size_t i = 0; i < shown; ++i) text += "\r\n" + ShortName(leftOut[i]);
  if (shown < leftOut.size()) text += "\r\nほか" + std::to_string(leftOut.size() - shown) + "件";
  MessageBoxA(owner, text.c_str(), forms::Application::Get().Title().c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void TSetDialog::AcceptDrops() {
  imagePageDrop_ = std::make_unique<forms::FileDrop>(ImageSheet);
  imagePageDrop_->Add(ImageListBox, [this](const std::vector<std::string>& f) { ImageListBoxDrop(f); });
  imagePageDrop_->Add(WavPlayEdit, [this](const std::vector<std::string>& f) { WavPlayEditDrop(f); });
  musicPageDrop_ = std::make_unique<forms::FileDrop>(BGMSheet);
  musicPageDrop_->Add(MidiListBox, [this](const std::vector<std::string>& f) { MidiListBoxDrop(f); });
}

// As 追加 and フォルダ追加 would add them: before the current entry, selected.
void TSetDialog::ImageListBoxDrop(const std::vector<std::string>& files) {
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
  ReportLeftOut(Handle(), leftOut, "画像ファイルでもフォルダでもないため追加しませんでした:");
}

// The sound of every selected image, as 設定 would set it.
void TSetDialog::WavPlayEditDrop(const std::vector<std::string>& files) {
  if (files.empty() || ImageListBox.Count() == 0) return;
  saver::StopWave();
  if (files.size() > 1 || !HasExtension(files[0], {".WAV"}))
    return ReportLeftOut(Handle(), files, "ＷＡＶファイルをひとつだけ置いてください:");
  const std::vector<int> selected = SelectedIndexes(ImageListBox);
  if (selected.empty()) return;
  for (int i : selected) {
    WavListBox.Delete(i);
    WavListBox.Insert(i, files[0]);
  }
  WavPlayEdit.SetText(files[0]);
}

void TSetDialog::MidiListBoxDrop(const std::vector<std::string>& files) {
  StopMidiTest();
  std::vector<std::string> added, leftOut;
  for (const std::string& file : files)
    (HasExtension(file, {".MID", ".RMI"}) && !IsFolder(file) ? added : leftOut).push_back(file);
  if (!added.empty()) {
    InsertBeforeCurrent(MidiListBox, nullptr, added, "");
    SetMusicControlsEnabled(MidiListBox.SelCount() <= 1);
  }
  ReportLeftOut(Handle(), leftOut, "ＭＩＤＩファイルではないため追加しませんでした:");
}
