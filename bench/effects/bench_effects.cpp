// Effect benchmark: for every kind, appear and erase, on a full-screen
// 1920 x 1080 picture with bitmaps compatible with the screen and flushes
// to a real window:
//  - the cost of one step (median and worst, ms), driven as fast as possible;
//  - the pace at speed 400 when driven by a real Timer2-like Win32 timer in
//    a message loop: measured duration against steps x requested interval.
// Prints a table; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "saver/effects/Effects.h"

namespace {

constexpr int kW = 1920, kH = 1080;
const char* const kNames[] = {"Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"};

double Now() {
  static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * t.QuadPart / f.QuadPart;
}

struct Bitmap {
  HBITMAP bmp = nullptr;
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
  Bitmap(HDC screen, int w, int h) {
    bmp = CreateCompatibleBitmap(screen, w, h);
    dc = CreateCompatibleDC(screen);
    old = SelectObject(dc, bmp);
  }
  Bitmap(HBITMAP b) : bmp(b), dc(CreateCompatibleDC(nullptr)) { old = SelectObject(dc, bmp); }
  ~Bitmap() { SelectObject(dc, old); DeleteDC(dc); DeleteObject(bmp); }
};

// The saver window in miniature: a full-screen window, its bitmaps and one effect context.
struct Bench {
  HWND hwnd;
  HDC windowDc;
  Bitmap screen, back, work, pattern, image, strip;
  saver::EffectState state;
  uint8_t show = 11;
  bool entered = true;
  int interval = 5;
  bool timerDriven = false;
  saver::EffectContext ctx;

  Bench(HWND w, HDC screenDc)
      : hwnd(w), windowDc(GetDC(w)), screen(screenDc, kW, kH), back(screenDc, kW, kH),
        work(screenDc, kW, kH), pattern(screenDc, 8, 8), image(screenDc, kW, kH),
        strip(saver::CreateMaskStrip()) {
    // Background: bands of colour; picture: a diagonal pattern of other colours.
    for (int y = 0; y < kH; y += 60) {
      HBRUSH b = CreateSolidBrush(RGB(20, 40 + y / 10, 90));
      RECT r{0, y, kW, y + 60};
      FillRect(back.dc, &r, b);
      DeleteObject(b);
    }
    for (int x = 0; x < kW; x += 40) {
      HBRUSH b = CreateSolidBrush(RGB(200, (x / 8) & 255, 60));
      RECT r{x, 0, x + 40, kH};
      FillRect(image.dc, &r, b);
      DeleteObject(b);
    }
    ctx.Screen = screen.dc;
    ctx.Back = back.dc;
    ctx.Work = work.dc;
    ctx.Pattern = pattern.dc;
    ctx.PatternBitmap = pattern.bmp;
    ctx.MaskStrip = strip.dc;
    ctx.Image = image.dc;
    ctx.W = kW;
    ctx.H = kH;
    ctx.ClientWidth = kW;
    ctx.ClientHeight = kH;
    ctx.AppearInterval = ctx.EraseInterval = saver::BaseInterval(400);
    ctx.ShowState = &show;
    ctx.StateEntered = &entered;
    ctx.State = &state;
    ctx.SetInterval = [this](int ms) {
      interval = ms;
      if (timerDriven) SetTimer(hwnd, 2, ms, nullptr);
    };
    ctx.Flush = [this](const RECT& r) {
      BitBlt(windowDc, r.left, r.top, r.right - r.left, r.bottom - r.top, screen.dc, r.left, r.top, SRCCOPY);
    };
    ctx.Random = [](int bound) { return rand() % bound; };
  }
  ~Bench() { ReleaseDC(hwnd, windowDc); }

  // Screen and window as an appear (background) or erase (picture shown) begins.
  void Reset(bool appear, int coin) {
    BitBlt(screen.dc, 0, 0, kW, kH, back.dc, 0, 0, SRCCOPY);
    if (!appear) BitBlt(screen.dc, 0, 0, kW, kH, image.dc, 0, 0, SRCCOPY);
    BitBlt(windowDc, 0, 0, kW, kH, screen.dc, 0, 0, SRCCOPY);
    GdiFlush();
    show = appear ? 11 : 14;
    entered = true;
    ctx.EffectCoin = coin;
  }
  void Step(bool appear, int kind) {
    if (appear) saver::AppearStep(ctx, kind); else saver::EraseStep(ctx, kind);
  }
};

struct StepCost { int steps; double median, worst; };

StepCost MeasureSteps(Bench& b, bool appear, int kind, int coin) {
  b.Reset(appear, coin);
  const uint8_t start = b.show;
  std::vector<double> t;
  while (b.show == start && t.size() < 100000) {
    const double t0 = Now();
    b.Step(appear, kind);
    GdiFlush();
    t.push_back(Now() - t0);
  }
  std::sort(t.begin(), t.end());
  return {static_cast<int>(t.size()), t[t.size() / 2], t.back()};
}

struct Pace { int steps; int interval; double measured, nominal; };

Bench* g_bench;
bool g_appear;
int g_kind, g_calls;
double g_first, g_last;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == 2 && g_bench) {
    const uint8_t before = g_bench->show;
    const double t = Now();
    if (g_calls++ == 0) g_first = t;
    g_bench->Step(g_appear, g_kind);
    if (g_bench->show != before) {
      g_last = t;
      KillTimer(hwnd, 2);
      PostQuitMessage(0);
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

Pace MeasurePace(Bench& b, bool appear, int kind, int coin) {
  b.Reset(appear, coin);
  g_bench = &b;
  g_appear = appear;
  g_kind = kind;
  g_calls = 0;
  b.timerDriven = true;
  b.interval = saver::kIdleInterval;
  int effectInterval = 0;
  auto set = b.ctx.SetInterval;
  b.ctx.SetInterval = [&](int ms) {
    if (effectInterval == 0) effectInterval = ms;
    set(ms);
  };
  SetTimer(b.hwnd, 2, saver::kIdleInterval, nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  b.ctx.SetInterval = set;
  b.timerDriven = false;
  g_bench = nullptr;
  // The set-up call is the first tick; the routine then runs (calls - 1) steps, each one interval apart.
  const int steps = g_calls - 1;
  if (effectInterval == 0) effectInterval = saver::kIdleInterval;  // Normal keeps the sequencer's interval
  return {steps, effectInterval, g_last - g_first, static_cast<double>(steps) * effectInterval};
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && strcmp(argv[1], "--quick") == 0;  // one coin, no erase pace
  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GlimoraEffectBench";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, kW, kH,
                              nullptr, nullptr, wc.hInstance, nullptr);
  HDC screenDc = GetDC(nullptr);
  std::printf("Effect benchmark: %d x %d full-screen picture, %d-bit display bitmaps, flushing to a window\n",
              kW, kH, GetDeviceCaps(screenDc, BITSPIXEL));
  Bench b(hwnd, screenDc);
  ReleaseDC(nullptr, screenDc);

  TIMECAPS tc{};
  timeGetDevCaps(&tc, sizeof tc);

  std::printf("\nStep cost (every step of the effect, coin 0 and 1):\n");
  std::printf("%-10s %-6s %5s %7s %10s %9s\n", "kind", "dir", "coin", "steps", "median ms", "worst ms");
  for (int kind = 0; kind < saver::kEffectKinds; ++kind)
    for (bool appear : {true, false})
      for (int coin : {0, 1}) {
        if (quick && coin == 1) continue;
        const StepCost c = MeasureSteps(b, appear, kind, coin);
        std::printf("%-10s %-6s %5d %7d %10.3f %9.3f\n", kNames[kind], appear ? "appear" : "erase", coin,
                    c.steps, c.median, c.worst);
      }

  std::printf("\nPace at speed 400, driven by a Win32 timer (SetTimer) in a message loop, coin 0:\n");
  std::printf("%-10s %-6s %7s %9s %12s %11s %6s\n", "kind", "dir", "steps", "interval", "measured ms",
              "nominal ms", "ratio");
  for (int kind = 0; kind < saver::kEffectKinds; ++kind)
    for (bool appear : {true, false}) {
      if (quick && !appear) continue;
      const Pace p = MeasurePace(b, appear, kind, 0);
      std::printf("%-10s %-6s %7d %9d %12.1f %11.1f %6.2f\n", kNames[kind], appear ? "appear" : "erase",
                  p.steps, p.interval, p.measured, p.nominal, p.nominal > 0 ? p.measured / p.nominal : 0.0);
    }

  // Where a full-screen step's time goes: one call of each GDI operation the effects use.
  std::printf("\nSingle full-screen GDI operations (median of 15, ms):\n");
  auto time = [&](const char* what, auto op) {
    std::vector<double> t;
    for (int i = 0; i < 15; ++i) {
      const double t0 = Now();
      op();
      GdiFlush();
      t.push_back(Now() - t0);
    }
    std::sort(t.begin(), t.end());
    std::printf("  %-44s %7.3f\n", what, t[t.size() / 2]);
  };
  time("BitBlt SRCCOPY bitmap to bitmap", [&] { BitBlt(b.screen.dc, 0, 0, kW, kH, b.back.dc, 0, 0, SRCCOPY); });
  time("BitBlt SRCPAINT bitmap to bitmap", [&] { BitBlt(b.screen.dc, 0, 0, kW, kH, b.work.dc, 0, 0, SRCPAINT); });
  time("PatBlt DPa with an 8 x 8 pattern brush", [&] {
    HBRUSH br = CreatePatternBrush(b.pattern.bmp);
    HGDIOBJ old = SelectObject(b.work.dc, br);
    PatBlt(b.work.dc, 0, 0, kW, kH, 0x00A000C9);
    SelectObject(b.work.dc, old);
    DeleteObject(br);
  });
  time("StretchBlt COLORONCOLOR to a 1920 x 1072 band", [&] {
    SetStretchBltMode(b.screen.dc, COLORONCOLOR);
    StretchBlt(b.screen.dc, 0, 4, kW, kH - 8, b.image.dc, 0, 0, kW, kH, SRCCOPY);
  });
  time("flush: BitBlt bitmap to the window", [&] { BitBlt(b.windowDc, 0, 0, kW, kH, b.screen.dc, 0, 0, SRCCOPY); });

  std::printf("\nTimer resolution reported by timeGetDevCaps: %u ms minimum\n", tc.wPeriodMin);
  g_bench = nullptr;
  DestroyWindow(hwnd);
  return 0;
}
