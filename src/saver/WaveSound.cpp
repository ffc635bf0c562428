#include "saver/WaveSound.h"

#include <windows.h>
#include <mmsystem.h>

namespace saver {

void PlayWaveFile(const std::string& name) {
  StopWave();
  sndPlaySoundA(name.c_str(), SND_ASYNC | SND_NODEFAULT);
}

void StopWave() { sndPlaySoundA(nullptr, SND_ASYNC); }

}  // namespace saver
