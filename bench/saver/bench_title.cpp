// Cost of the title fade on a full-screen window: building the stage of a
// line, and one fade step (masked mix of the stage over the background and
// the flush of its rectangle). Prints figures; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include "forms/Bitmap.h"
#include "saver/Surfaces.h"
#include "saver/TitleOverlay.h"
#include "saver/effects/Effects.h"

namespace {

double Now() {
  static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(freq.QuadPart);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

int main() {
  const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TitleBench";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "TitleBench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, W, H,
                              nullptr, nullptr, wc.hInstance, nullptr);
  Pump();

  // The saver's own stage: its bitmaps, and flushes to the window.
  saver::Surfaces show(400, 400, [](int bound) { return bound > 0 ? rand() % bound : 0; });
  show.Back.Create(W, H);
  show.Back.Fill(RGB(0, 0, 128));
  show.BuildFromBack({W, H});
  show.SetWindow(hwnd);

  std::printf("screen %d x %d\n", W, H);
  struct Case { const char* text; int height; };
  for (Case k : {Case{"Wren presents", 48}, Case{"Glimora", 96}, Case{"A title line across the screen", 200}}) {
    saver::TitleLine line{k.text, "Times New Roman", k.height, RGB(251, 251, 251)};
    forms::Bitmap stage;
    RECT rect;
    const int builds = 20;
    double t0 = Now();
    for (int i = 0; i < builds; ++i) saver::BuildTitleOverlay(line, show.Back.Dc(), {0, 0, W, H}, stage, rect);
    double build = (Now() - t0) / builds;

    std::vector<double> steps;
    for (int round = 0; round < 10; ++round)
      for (saver::MixDirection d : {saver::MixDirection::In, saver::MixDirection::Out})
        for (int m = 0; m <= 16; ++m) {
          double s = Now();
          show.MixTitle(m, d, stage.Dc(), rect);
          GdiFlush();
          steps.push_back(Now() - s);
          Pump();
        }
    std::sort(steps.begin(), steps.end());
    double sum = 0;
    for (double v : steps) sum += v;
    std::printf("title %-32s %3d px  rect %4ld x %3ld  stage build %8.0f us  fade step mean %6.0f us  median %6.0f us  max %6.0f us  (%zu steps)\n",
                k.text, k.height, rect.right - rect.left, rect.bottom - rect.top, build,
                sum / static_cast<double>(steps.size()), steps[steps.size() / 2], steps.back(), steps.size());
  }
  DestroyWindow(hwnd);
  return 0;
}
