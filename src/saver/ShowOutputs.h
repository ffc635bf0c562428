// What only the show's one output does, in two named parts: the title
// presenter (the two title lines faded in and out on the primary window)
// and the show's sound (the MIDI list and each picture's WAV). The
// controller owns one of each and hands the first sequencer a StageOutput.
#pragma once
#include <string>

#include "forms/Bitmap.h"
#include "forms/MediaPlayer.h"
#include "saver/MonitorWindow.h"

namespace saver {

class TitlePresenter {
 public:
  explicit TitlePresenter(MonitorWindow& window) : window_(window) {}
  ~TitlePresenter() { End(); }
  // Builds the line over the window's background. Its heights are those of a
  // 96-DPI screen: on a scaled monitor it keeps the size the user chose.
  void Begin(const TitleLine& line);
  void Frame(int k, MixDirection direction);
  void End() { overlay_.Reset(); }

 private:
  MonitorWindow& window_;
  forms::Bitmap overlay_;  // the line over the background, during a fade
  RECT rect_ = {};
};

class ShowSound {
 public:
  // The MIDI player is a control of `window` (tools find it there by name).
  explicit ShowSound(MonitorWindow& window);
  ~ShowSound() { Stop(); }
  // False when the file could not be started.
  bool PlayMidi(const std::string& name);
  void PlayWave(const std::string& name);
  // The show paused: the MIDI music holds where it is and the WAV stops;
  // going on, the music plays on from there.
  void Pause(bool paused);
  void Stop();
  // The MIDI file has ended (or failed while playing).
  std::function<void()> OnMidiDone;

 private:
  forms::MediaPlayer MidiPlayer;
};

// The ShowOutput of a run; in the preview it plays nothing.
class StageOutput : public ShowOutput {
 public:
  StageOutput(const SaverSettings& theme, bool session, TitlePresenter& title, ShowSound& sound)
      : theme_(theme), session_(session), title_(title), sound_(sound) {}
  bool InSaverSession() const override { return session_; }
  void PlayWave(const std::string& name) override;
  bool PlayMidiNumber(int n) override;
  void BeginTitle(const TitleLine& line) override { title_.Begin(line); }
  void TitleFrame(int k, MixDirection direction) override { title_.Frame(k, direction); }
  void EndTitle() override { title_.End(); }

 private:
  const SaverSettings& theme_;
  const bool session_;
  TitlePresenter& title_;
  ShowSound& sound_;
};

}  // namespace saver
