// Times one key of the show keys from inside the Wine desktop: presses the
// key and watches one screen pixel until it shows the colour the next
// picture has. Prints the milliseconds and, after them, when the pixel
// first changed at all (the picture going); "none" after the time limit.
//   key_probe <virtual key> <x> <y> <RRGGBB> <limit ms>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {
bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 24 && std::abs(GetGValue(a) - GetGValue(b)) <= 24 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 24;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: key_probe VK X Y RRGGBB LIMIT_MS\n");
    return 2;
  }
  const BYTE key = static_cast<BYTE>(std::strtoul(argv[1], nullptr, 0));
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
  const unsigned long rgb = std::strtoul(argv[4], nullptr, 16);
  const COLORREF want = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
  const double limit = std::atof(argv[5]);
  HDC screen = GetDC(nullptr);
  LARGE_INTEGER f, t0, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  const COLORREF before = GetPixel(screen, x, y);
  double firstChange = -1;
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  for (;;) {
    QueryPerformanceCounter(&t);
    const double ms = 1000.0 * static_cast<double>(t.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
    const COLORREF now = GetPixel(screen, x, y);
    if (firstChange < 0 && now != before) firstChange = ms;
    if (Near(now, want)) {
      std::printf("%.1f %.1f\n", ms, firstChange);
      break;
    }
    if (ms > limit) {
      std::printf("none\n");
      break;
    }
    Sleep(1);
  }
  ReleaseDC(nullptr, screen);
  return 0;
}
