// Load time and peak memory of one JPEG through ifjpeg.spi as the picture
// component loads it: LoadLibraryA, GetPictureInfo, GetPicture or
// GetPreview, freeing the handles, FreeLibrary. Prints the best and the
// median of several rounds, then the process's peak private bytes and peak
// working set. Peaks only grow, so each call kind runs in a process of its
// own:
//   bench_jpeg.exe <picture> [rounds] [picture|preview]   (in the folder of ifjpeg.spi)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../Clock.h"
#include "spi.h"

namespace {

// One load; returns milliseconds, or a negative number (-2 - result code).
double LoadOnce(char* name, bool preview, long& width, long& height) {
  const double start = bench::NowMs();
  HMODULE dll = LoadLibraryA("ifjpeg.spi");
  if (dll == nullptr) return -1;
  auto info = reinterpret_cast<spi::GetPictureInfoFn>(GetProcAddress(dll, "GetPictureInfo"));
  auto picture = reinterpret_cast<spi::GetPictureFn>(
      GetProcAddress(dll, preview ? "GetPreview" : "GetPicture"));
  spi::PictureInfo pi{};
  HANDLE hInfo = nullptr, hBits = nullptr;
  int rc = info(name, 0, 0, &pi);
  if (pi.hInfo != nullptr) LocalFree(pi.hInfo);
  if (rc == 0) rc = picture(name, 0, 0, &hInfo, &hBits, nullptr, 0);
  if (rc == 0) {
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(hInfo));
    width = h->biWidth;
    height = h->biHeight;
    GlobalUnlock(hInfo);
    GlobalFree(hBits);
    GlobalFree(hInfo);
  }
  FreeLibrary(dll);
  return rc == 0 ? bench::NowMs() - start : -2 - rc;
}

void Report(const char* what, char* name, bool preview, int rounds) {
  std::vector<double> times;
  long w = 0, h = 0;
  for (int i = 0; i < rounds; ++i) {
    const double ms = LoadOnce(name, preview, w, h);
    if (ms < 0) {
      std::printf("%s: failed (result code %g)\n", what, -2 - ms);
      break;
    }
    times.push_back(ms);
  }
  if (!times.empty()) {
    std::sort(times.begin(), times.end());
    std::printf("%s %ldx%ld: best %.1f ms, median %.1f ms (%d rounds)\n", what, w, h,
                times.front(), times[times.size() / 2], static_cast<int>(times.size()));
  }
  PROCESS_MEMORY_COUNTERS m{};
  m.cb = sizeof m;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m))
    std::printf("%s peak memory: private %.1f MB, working set %.1f MB\n", what,
                m.PeakPagefileUsage / 1048576.0, m.PeakWorkingSetSize / 1048576.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_jpeg <picture.jpg> [rounds] [picture|preview]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const char* only = argc > 3 ? argv[3] : "";
  if (std::strcmp(only, "preview") != 0) Report("ifjpeg.spi GetPicture", argv[1], false, rounds);
  if (std::strcmp(only, "picture") != 0) Report("ifjpeg.spi GetPreview", argv[1], true, rounds);
  return 0;
}
