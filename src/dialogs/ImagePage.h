// The image page: the image list (files and folder entries) with the WAV
// sound of each image, the order, the test display and the WAV test play.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "dialogs/FolderCounts.h"
#include "dialogs/ThemePage.h"

class ImagePage : public ThemePage {
 public:
  explicit ImagePage(const PageHome& home);
  void Show(const settings::Theme& theme) override;
  void Collect(settings::Theme& theme) const override;
  void Leave() override;

 private:
  void CreateControls();
  void ImageListBoxClick();
  void ImageAddBtnClick();
  void ImageDeleteBtnClick();
  void ImageShowBtnClick();
  void WavSetBtnClick();
  void WavDeleteBtnClick();
  void WavPlayBtnClick();
  void SetImageControlsEnabled(bool enabled);
  int ShowTestImage(const std::string& name, bool stepping);  // the modal result
  void FolderAddBtnClick();
  void CountFolders();  // refreshes the folder counts, keeping the timer on while they run
  void ImageListBoxDrop(const std::vector<std::string>& files);
  void WavPlayEditDrop(const std::vector<std::string>& files);

  forms::OpenDialog& files_;
  forms::Label ImageListLbl{dialog_, "ImageListLbl"};
  forms::ListBox ImageListBox{dialog_, "ImageListBox"};
  forms::ListBox WavListBox{dialog_, "WavListBox"};  // hidden: the WAV of each image, in step
  forms::Button ImageAddBtn{dialog_, "ImageAddBtn"};
  forms::Button ImageUpBtn{dialog_, "ImageUpBtn"};
  forms::Button ImageDownBtn{dialog_, "ImageDownBtn"};
  forms::Button ImageDeleteBtn{dialog_, "ImageDeleteBtn"};
  forms::Button ImageShowBtn{dialog_, "ImageShowBtn"};
  forms::Button FolderAddBtn{dialog_, "FolderAddBtn"};
  forms::Timer FolderCountTimer{dialog_, "FolderCountTimer", 250, false};
  forms::Label ImageOrderLbl{dialog_, "ImageOrderLbl"};
  forms::RadioButton ImageOrderRBtn0{dialog_, "ImageOrderRBtn0"};
  forms::RadioButton ImageOrderRBtn1{dialog_, "ImageOrderRBtn1"};
  forms::CheckBox FromLastImgCBox{dialog_, "FromLastImgCBox"};
  forms::Label WavPlayLbl{dialog_, "WavPlayLbl"};
  forms::Label Label3{dialog_, "Label3"};
  forms::Edit WavPlayEdit{dialog_, "WavPlayEdit"};
  forms::Button WavSetBtn{dialog_, "WavSetBtn"};
  forms::Button WavDeleteBtn{dialog_, "WavDeleteBtn"};
  forms::Button WavPlayBtn{dialog_, "WavPlayBtn"};
  FolderCounts folderCounts_{ImageListBox};
  std::unique_ptr<forms::FileDrop> drop_;  // pictures and folders on the list, a WAV on its field
};
