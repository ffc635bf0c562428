// Load time and peak memory of one picture as the show loads it
// (picture::DecodeForArea on a canvas DC): fitted to a 1920 x 1080 screen,
// or at its own size. Built in both widths, so the same picture can be
// timed through the 32-bit and the 64-bit program's route:
//   bench_load.exe <picture> [fit|full] [rounds]   (in the folder of the plug-ins)
// Peaks only grow, so each call kind runs in a process of its own.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../Clock.h"
#include "picture/Decode.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_load <picture> [fit|full] [rounds]\n");
    return 2;
  }
  const std::string file = argv[1];
  const bool full = argc > 2 && std::string(argv[2]) == "full";
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
  const SIZE area = full ? SIZE{0, 0} : SIZE{1920, 1080};
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HDC canvas = CreateCompatibleDC(nullptr);
  std::vector<double> times;
  int width = 0, height = 0;
  for (int i = 0; i < rounds; ++i) {
    const double start = bench::NowMs();
    picture::DecodeOutcome outcome = picture::DecodeForArea(file, area, canvas);
    const double ms = bench::NowMs() - start;
    if (outcome.error != 0) {
      std::printf("%s %s: failed, error %d (%s)\n", file.c_str(), full ? "full" : "fit", outcome.error,
                  outcome.message.c_str());
      return 1;
    }
    width = outcome.picture.width, height = outcome.picture.height;
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  std::printf("%d-bit %s %s -> %dx%d: best %.0f ms, median %.0f ms, peak working set %.0f MB\n",
              static_cast<int>(sizeof(void*) * 8), file.c_str(), full ? "full" : "fit", width, height,
              times.front(), times[times.size() / 2], memory.PeakWorkingSetSize / 1048576.0);
  DeleteDC(canvas);
  return 0;
}
