#include "saver/ShowOutputs.h"

#include "saver/TitleOverlay.h"
#include "saver/WaveSound.h"

namespace saver {

void TitlePresenter::Begin(const TitleLine& line) {
  TitleLine scaled = line;
  scaled.Height = window_.Scale(forms::Dip(line.Height));
  BuildTitleOverlay(scaled, window_.Drawing().Back.Dc(), window_.ImageArea(), overlay_, rect_);
}

// The fade's masks mix the overlay into the window's screen, one per step.
void TitlePresenter::Frame(int k, MixDirection direction) {
  if (overlay_.Empty()) return;
  window_.Drawing().MixTitle(k, direction, overlay_.Dc(), rect_);
}

ShowSound::ShowSound(MonitorWindow& window) : MidiPlayer(window, "MidiPlayer") {
  MidiPlayer.Create();
  MidiPlayer.OnNotify = [this] {
    if (OnMidiDone) OnMidiDone();
  };
}

bool ShowSound::PlayMidi(const std::string& name) {
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

void ShowSound::PlayWave(const std::string& name) { PlayWaveFile(name); }

void ShowSound::Pause(bool paused) {
  if (!paused) return MidiPlayer.Play();
  StopWave();
  MidiPlayer.Pause();
}

void ShowSound::Stop() {
  StopWave();
  MidiPlayer.Close();
}

// The sequencer retries music that could not start after the current
// picture's off-delay.
bool StageOutput::PlayMidiNumber(int n) {
  if (!session_) return true;
  return sound_.PlayMidi(theme_.Entries.Read(settings::key::Midi, n, settings::Role::Saver));
}

void StageOutput::PlayWave(const std::string& name) {
  if (session_) sound_.PlayWave(name);
}

}  // namespace saver
