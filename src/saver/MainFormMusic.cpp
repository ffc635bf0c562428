// Background music (MIDI list through MidiPlayer) and the image's WAV sound.
#include <windows.h>
#include <mmsystem.h>

#include "saver/MainForm.h"
#include "saver/WaveSound.h"

bool TMainForm::PlayMidiNumber(int n) { return PlayMidiFile(theme_.Entry(settings::key::Midi, n)); }

// False when the file could not be started; the sequencer retries the
// music after the current image's off-delay.
bool TMainForm::PlayMidiFile(const std::string& name) {
  if (!SaverSession || primary_) return true;  // the music plays once, at the primary's window
  MidiPlayer.Close();
  MidiPlayer.SetFileName(name);
  try {
    MidiPlayer.Notify = true;
    MidiPlayer.Open();
    MidiPlayer.Play();
  } catch (const std::exception&) {
    MidiPlayer.Close();
    return false;
  }
  return true;
}

void TMainForm::MidiPlayerNotify() {
  if (show_) show_->MidiSet();
}

// Only the primary's pictures sound, so sounds never overlap.
void TMainForm::PlayWave(const std::string& name) {
  if (!SaverSession || primary_) return;
  saver::PlayWaveFile(name);
}

void TMainForm::StopSound() {
  saver::StopWave();
  MidiPlayer.Close();
}
