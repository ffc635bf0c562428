// The music page: the MIDI list, its order, and a test play of the chosen file.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "dialogs/ThemePage.h"

class MusicPage : public ThemePage {
 public:
  explicit MusicPage(const PageHome& home);
  void Show(const settings::Theme& theme) override;
  void Collect(settings::Theme& theme) const override;
  void Leave() override { StopMidiTest(); }
  void Close() override;

 private:
  void CreateControls();
  void MidiListBoxClick();
  void MidiAddBtnClick();
  void MidiDeleteBtnClick();
  void MidiPlayBtnClick();
  void MidiListBoxDrop(const std::vector<std::string>& files);
  void StopMidiTest();
  void SetMusicControlsEnabled(bool enabled);

  forms::OpenDialog& files_;
  bool midiTestPlaying_ = false;
  forms::Panel BGMPanel{dialog_, "BGMPanel"};
  forms::Label BGMLbl{dialog_, "BGMLbl"};
  forms::RadioButton BGMRBtn0{dialog_, "BGMRBtn0"};
  forms::RadioButton BGMRBtn1{dialog_, "BGMRBtn1"};
  forms::Label MidiListLbl{dialog_, "MidiListLbl"};
  forms::ListBox MidiListBox{dialog_, "MidiListBox"};
  forms::Button MidiAddBtn{dialog_, "MidiAddBtn"};
  forms::Button MidiUpBtn{dialog_, "MidiUpBtn"};
  forms::Button MidiDownBtn{dialog_, "MidiDownBtn"};
  forms::Button MidiDeleteBtn{dialog_, "MidiDeleteBtn"};
  forms::Button MidiPlayBtn{dialog_, "MidiPlayBtn"};
  forms::Label MidiOrderLbl{dialog_, "MidiOrderLbl"};
  forms::RadioButton MidiOrderRBtn0{dialog_, "MidiOrderRBtn0"};
  forms::RadioButton MidiOrderRBtn1{dialog_, "MidiOrderRBtn1"};
  forms::CheckBox FromLastMidiCBox{dialog_, "FromLastMidiCBox"};
  forms::MediaPlayer MidiTestPlayer{dialog_, "MidiTestPlayer"};
  std::unique_ptr<forms::FileDrop> drop_;  // MIDI files dropped on the list
};
