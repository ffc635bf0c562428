// Load time of one JPEG through ifjpeg.spi as the picture component loads it:
// LoadLibraryA, GetPictureInfo, GetPicture (and GetPreview), freeing the
// handles, FreeLibrary. Prints the best and the median of several rounds.
//   bench_jpeg.exe <picture> [rounds]   (run in the folder of ifjpeg.spi)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "spi.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// One load; returns milliseconds, or a negative number on failure.
double LoadOnce(char* name, bool preview, long& width, long& height) {
  const double start = Now();
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
  return rc == 0 ? Now() - start : -2 - rc;
}

void Report(const char* what, char* name, bool preview, int rounds) {
  std::vector<double> times;
  long w = 0, h = 0;
  for (int i = 0; i < rounds; ++i) {
    const double ms = LoadOnce(name, preview, w, h);
    if (ms < 0) {
      std::printf("%s: failed (%g)\n", what, ms);
      return;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("%s %ldx%ld: best %.1f ms, median %.1f ms (%d rounds)\n", what, w, h, times.front(),
              times[times.size() / 2], rounds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_jpeg <picture.jpg> [rounds]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  Report("ifjpeg.spi GetPicture", argv[1], false, rounds);
  Report("ifjpeg.spi GetPreview", argv[1], true, rounds);
  return 0;
}
