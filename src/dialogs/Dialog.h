// The theme settings dialog: every setting of one theme on four pages
// (images with their WAV sounds, background music, effects, the rest).
// It loads the theme while it is created and rewrites the whole section on OK.
#pragma once
#include <memory>
#include <string>

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/ComboBox.h"
#include "forms/Edit.h"
#include "forms/FileDrop.h"
#include "forms/Form.h"
#include "forms/GroupBox.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/MediaPlayer.h"
#include "forms/OpenDialog.h"
#include "forms/PageControl.h"
#include "forms/Panel.h"
#include "forms/RadioButton.h"
#include "forms/Timer.h"
#include "forms/TrackBar.h"
#include "dialogs/FolderCounts.h"
#include "settings/Theme.h"

class TSetDialog : public forms::Form {
 public:
  // Works on theme number `theme` (section Theme<theme>).
  explicit TSetDialog(int theme);
  ~TSetDialog() override;

  // Frame.
  forms::PageControl SetPageControl{*this, "SetPageControl"};
  forms::TabSheet ImageSheet{*this, "ImageSheet"};
  forms::TabSheet BGMSheet{*this, "BGMSheet"};
  forms::TabSheet EffectSheet{*this, "EffectSheet"};
  forms::TabSheet EtcSheet{*this, "EtcSheet"};
  forms::Button OKBtn{*this, "OKBtn"};
  forms::Button CanncelBtn{*this, "CanncelBtn"};
  forms::Button SetHelpBtn{*this, "SetHelpBtn"};
  forms::ListBox WavListBox{*this, "WavListBox"};
  forms::OpenDialog OpenDialog;

  // Image page.
  forms::Label ImageListLbl{*this, "ImageListLbl"};
  forms::ListBox ImageListBox{*this, "ImageListBox"};
  forms::Button ImageAddBtn{*this, "ImageAddBtn"};
  forms::Button ImageUpBtn{*this, "ImageUpBtn"};
  forms::Button ImageDownBtn{*this, "ImageDownBtn"};
  forms::Button ImageDeleteBtn{*this, "ImageDeleteBtn"};
  forms::Button ImageShowBtn{*this, "ImageShowBtn"};
  forms::Button FolderAddBtn{*this, "FolderAddBtn"};
  forms::Timer FolderCountTimer{*this, "FolderCountTimer", 250, false};
  forms::Label ImageOrderLbl{*this, "ImageOrderLbl"};
  forms::RadioButton ImageOrderRBtn0{*this, "ImageOrderRBtn0"};
  forms::RadioButton ImageOrderRBtn1{*this, "ImageOrderRBtn1"};
  forms::CheckBox FromLastImgCBox{*this, "FromLastImgCBox"};
  forms::Label WavPlayLbl{*this, "WavPlayLbl"};
  forms::Label Label3{*this, "Label3"};
  forms::Edit WavPlayEdit{*this, "WavPlayEdit"};
  forms::Button WavSetBtn{*this, "WavSetBtn"};
  forms::Button WavDeleteBtn{*this, "WavDeleteBtn"};
  forms::Button WavPlayBtn{*this, "WavPlayBtn"};

  // Music page.
  forms::Panel BGMPanel{*this, "BGMPanel"};
  forms::Label BGMLbl{*this, "BGMLbl"};
  forms::RadioButton BGMRBtn0{*this, "BGMRBtn0"};
  forms::RadioButton BGMRBtn1{*this, "BGMRBtn1"};
  forms::Label MidiListLbl{*this, "MidiListLbl"};
  forms::ListBox MidiListBox{*this, "MidiListBox"};
  forms::Button MidiAddBtn{*this, "MidiAddBtn"};
  forms::Button MidiUpBtn{*this, "MidiUpBtn"};
  forms::Button MidiDownBtn{*this, "MidiDownBtn"};
  forms::Button MidiDeleteBtn{*this, "MidiDeleteBtn"};
  forms::Button MidiPlayBtn{*this, "MidiPlayBtn"};
  forms::Label MidiOrderLbl{*this, "MidiOrderLbl"};
  forms::RadioButton MidiOrderRBtn0{*this, "MidiOrderRBtn0"};
  forms::RadioButton MidiOrderRBtn1{*this, "MidiOrderRBtn1"};
  forms::CheckBox FromLastMidiCBox{*this, "FromLastMidiCBox"};
  forms::MediaPlayer MidiTestPlayer{*this, "MidiTestPlayer"};

  // Effects page.
  forms::GroupBox ImageShowBox{*this, "ImageShowBox"};
  forms::CheckBox ImageOnBtn0{*this, "ImageOnBtn0"};
  forms::CheckBox ImageOnBtn1{*this, "ImageOnBtn1"};
  forms::CheckBox ImageOnBtn2{*this, "ImageOnBtn2"};
  forms::CheckBox ImageOnBtn3{*this, "ImageOnBtn3"};
  forms::CheckBox ImageOnBtn4{*this, "ImageOnBtn4"};
  forms::CheckBox ImageOnBtn5{*this, "ImageOnBtn5"};
  forms::CheckBox ImageOnBtn6{*this, "ImageOnBtn6"};
  forms::CheckBox ImageOnBtn7{*this, "ImageOnBtn7"};
  forms::Label ImageFadeInLbl{*this, "ImageFadeInLbl"};
  forms::Label ImageFadeInSlowLbl{*this, "ImageFadeInSlowLbl"};
  forms::TrackBar ImageFadeInScrBar{*this, "ImageFadeInScrBar"};
  forms::Label ImageFadeInFastLbl{*this, "ImageFadeInFastLbl"};
  forms::GroupBox ImageEraseBox{*this, "ImageEraseBox"};
  forms::CheckBox ImageOffBtn0{*this, "ImageOffBtn0"};
  forms::CheckBox ImageOffBtn1{*this, "ImageOffBtn1"};
  forms::CheckBox ImageOffBtn2{*this, "ImageOffBtn2"};
  forms::CheckBox ImageOffBtn3{*this, "ImageOffBtn3"};
  forms::CheckBox ImageOffBtn4{*this, "ImageOffBtn4"};
  forms::CheckBox ImageOffBtn5{*this, "ImageOffBtn5"};
  forms::CheckBox ImageOffBtn6{*this, "ImageOffBtn6"};
  forms::CheckBox ImageOffBtn7{*this, "ImageOffBtn7"};
  forms::Label ImageFadeOutLbl{*this, "ImageFadeOutLbl"};
  forms::Label ImageFadeOutSlowLbl{*this, "ImageFadeOutSlowLbl"};
  forms::TrackBar ImageFadeOutScrBar{*this, "ImageFadeOutScrBar"};
  forms::Label ImageFadeOutFastLbl{*this, "ImageFadeOutFastLbl"};
  forms::CheckBox NoEraseCBox{*this, "NoEraseCBox"};

  // Other page.
  forms::Panel Panel2{*this, "Panel2"};
  forms::Label BackLbl{*this, "BackLbl"};
  forms::RadioButton BackRBtn0{*this, "BackRBtn0"};
  forms::ComboBox BackCmbBox{*this, "BackCmbBox"};
  forms::RadioButton BackRBtn1{*this, "BackRBtn1"};
  forms::Label BackFileLbl{*this, "BackFileLbl"};
  forms::Button Button1{*this, "Button1"};
  forms::Edit BackEdit{*this, "BackEdit"};
  forms::RadioButton BackRBtn2{*this, "BackRBtn2"};
  forms::CheckBox BlurFillCBox{*this, "BlurFillCBox"};
  forms::Panel Panel1{*this, "Panel1"};
  forms::Label ImagePosLbl{*this, "ImagePosLbl"};
  forms::RadioButton ImagePosRBtn0{*this, "ImagePosRBtn0"};
  forms::RadioButton ImagePosRBtn1{*this, "ImagePosRBtn1"};
  forms::CheckBox ImageFitCBox{*this, "ImageFitCBox"};
  forms::CheckBox PanZoomCBox{*this, "PanZoomCBox"};
  forms::Label FirstDelayLbl{*this, "FirstDelayLbl"};
  forms::Edit FirstDelayEdit{*this, "FirstDelayEdit"};
  forms::Label FirstDelayUnitLbl{*this, "FirstDelayUnitLbl"};
  forms::Label ImageOnLbl{*this, "ImageOnLbl"};
  forms::Edit ImageOnEdit{*this, "ImageOnEdit"};
  forms::Label ImageOnUnitLbl{*this, "ImageOnUnitLbl"};
  forms::Label ImageOffLbl{*this, "ImageOffLbl"};
  forms::Edit ImageOffEdit{*this, "ImageOffEdit"};
  forms::Label ImageOffUnitLbl{*this, "ImageOffUnitLbl"};
  forms::GroupBox MonitorsBox{*this, "MonitorsBox"};
  forms::RadioButton MonitorsRBtn0{*this, "MonitorsRBtn0"};
  forms::RadioButton MonitorsRBtn1{*this, "MonitorsRBtn1"};
  forms::RadioButton MonitorsRBtn2{*this, "MonitorsRBtn2"};

 protected:
  void FormClose(forms::CloseAction& action) override;

 private:
  // Dialog.cpp: frame, loading, saving.
  void CreateFrame();
  void WireHandlers();
  void FormCreate();
  void OKBtnClick();
  void CanncelBtnClick();
  void SetHelpBtnClick();
  void SetPageControlChange();
  void DelayEditCheck();
  // The controls' values into the record; raises for a delay that is no integer.
  settings::Theme Collect() const;
  void Show(const settings::Theme& theme);

  // DialogEffects.cpp: the effects page.
  void CreateEffectsPage();
  void ApplyEffectMinimum();

  // DialogEtc.cpp: the other page.
  void CreateEtcPage();
  void Button1Click();

  // ImageList.cpp: the image page with its WAV sounds.
  void CreateImagePage();
  void ImageListBoxClick();
  void ImageAddBtnClick();
  void ImageUpBtnClick();
  void ImageDownBtnClick();
  void ImageDeleteBtnClick();
  void ImageShowBtnClick();
  void WavSetBtnClick();
  void WavDeleteBtnClick();
  void WavPlayBtnClick();
  void SetImageControlsEnabled(bool enabled);
  int ShowTestImage(const std::string& name, bool stepping);  // the modal result
  void FolderAddBtnClick();
  void FolderCountTimerTimer();
  void CountFolders();  // refreshes the folder counts, keeping the timer on while they run

  // ListDrops.cpp: files dropped from Explorer on the lists and the WAV field.
  void AcceptDrops();
  void ImageListBoxDrop(const std::vector<std::string>& files);
  void WavPlayEditDrop(const std::vector<std::string>& files);
  void MidiListBoxDrop(const std::vector<std::string>& files);

  // MidiList.cpp: the music page.
  void CreateMusicPage();
  void MidiListBoxClick();
  void MidiAddBtnClick();
  void MidiUpBtnClick();
  void MidiDownBtnClick();
  void MidiDeleteBtnClick();
  void MidiPlayBtnClick();
  void MidiTestPlayerNotify();
  void StopMidiTest();
  void SetMusicControlsEnabled(bool enabled);

  forms::CheckBox* const ImageOnBtn[settings::kEffectKinds] = {
      &ImageOnBtn0, &ImageOnBtn1, &ImageOnBtn2, &ImageOnBtn3,
      &ImageOnBtn4, &ImageOnBtn5, &ImageOnBtn6, &ImageOnBtn7};
  // In the order of the stored Monitors value.
  forms::RadioButton* const MonitorsRBtn[3] = {&MonitorsRBtn0, &MonitorsRBtn1, &MonitorsRBtn2};
  forms::CheckBox* const ImageOffBtn[settings::kEffectKinds] = {
      &ImageOffBtn0, &ImageOffBtn1, &ImageOffBtn2, &ImageOffBtn3,
      &ImageOffBtn4, &ImageOffBtn5, &ImageOffBtn6, &ImageOffBtn7};

  const int theme_;            // the theme this dialog works on
  settings::Theme kept_;       // values without a control, written back as read
  bool midiTestPlaying_ = false;
  bool hooked_ = false;        // DelayEditCheck installed on the application
  FolderCounts folderCounts_{ImageListBox};
  std::unique_ptr<forms::FileDrop> imagePageDrop_, musicPageDrop_;  // drops on the two list pages
};

