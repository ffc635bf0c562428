// The WAV sound of a picture: one at a time for the whole process.
#pragma once
#include <string>

namespace saver {

// Stops the sound playing, then starts the file without waiting for it;
// a file that cannot be played plays nothing (no system sound instead).
void PlayWaveFile(const std::string& name);
// Ends any WAV sound of the process.
void StopWave();

}  // namespace saver
