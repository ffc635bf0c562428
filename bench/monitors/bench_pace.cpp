// Effect pace on every monitor at once: one window per monitor, each with
// the saver's own surfaces at its monitor's size and its own Win32 timer, as
// the saver's windows run; the same effect starts on all of them together
// and each one's time to its last step is measured against its nominal time
// (steps x interval). Runs stop after about --cap ms (default 4000) of
// nominal time; --speeds 0,400 picks the speeds. Prints a table; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "../Clock.h"
#include "forms/WindowClass.h"
#include "saver/Pace.h"
#include "saver/Surfaces.h"

namespace {

const char* const kNames[] = {"Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"};

double Now() {
  static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

int Random(int bound) { return bound > 0 ? rand() % bound : 0; }

// One monitor: its window, a picture as large as it, and the surfaces.
struct Monitor {
  RECT bounds;
  HWND hwnd = nullptr;
  int w = 0, h = 0;
  forms::Bitmap image;
  std::unique_ptr<saver::Surfaces> stage;
  // The paced run.
  int kind = 0, target = 0, taken = 0, interval = 0;
  saver::Pace pace;
  double begun = 0, reached = 0;
  bool running = false;

  void SetSpeed(int speed) {
    stage = std::make_unique<saver::Surfaces>(speed, speed, Random);
    stage->Back.Create(w, h);
    forms::BrushHandle b(CreateSolidBrush(RGB(20, 60, 90)));
    RECT all{0, 0, w, h};
    FillRect(stage->Back.Dc(), &all, b.get());
    stage->BuildFromBack({w, h});
    stage->SetWindow(hwnd);
  }
  // Returns the steps of the effect when begun.
  bool Begin(int effect, int capMs) {
    kind = effect;
    BitBlt(stage->Screen.Dc(), 0, 0, w, h, stage->Back.Dc(), 0, 0, SRCCOPY);
    stage->Flush({0, 0, w, h});
    stage->PlacePicture(image.Dc(), {w, h}, {0, 0}, 0);
    const saver::EffectStep setUp = stage->BeginEffect(true, kind);
    if (setUp.Done) return false;
    begun = Now();
    pace.Start(timeGetTime(), setUp.NextInterval);
    interval = pace.Interval();
    target = std::max(1, capMs / interval);
    taken = 0;
    running = true;
    SetTimer(hwnd, 2, static_cast<UINT>(interval), nullptr);
    return true;
  }
  void Tick() {
    const int owed = std::min(pace.TakeOwed(timeGetTime()), target - taken);
    if (owed <= 0 || !running) return;
    const saver::EffectStep r = stage->EffectSteps(true, kind, owed);
    taken += owed;
    if (r.Done || taken >= target) {
      if (r.Done) target = taken;  // a short effect: its own steps are the nominal
      reached = Now();
      running = false;
      KillTimer(hwnd, 2);
    }
  }
};

std::vector<std::unique_ptr<Monitor>> g_monitors;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == 2) {
    for (auto& m : g_monitors)
      if (m->hwnd == hwnd) m->Tick();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM) {
  auto m = std::make_unique<Monitor>();
  m->bounds = *r;
  m->w = r->right - r->left;
  m->h = r->bottom - r->top;
  g_monitors.push_back(std::move(m));
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  int capMs = 4000;
  std::vector<int> speeds = {0, 400};
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--cap") && i + 1 < argc) capMs = atoi(argv[++i]);
    if (!strcmp(argv[i], "--speeds") && i + 1 < argc) {
      speeds = bench::NumberList(argv[++i]);
    }
  }
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, 0);
  forms::RegisterWindowClass({"GlimoraMonitorPaceBench", WndProc});
  for (auto& m : g_monitors) {
    m->hwnd = CreateWindowExA(0, "GlimoraMonitorPaceBench", "bench", WS_POPUP | WS_VISIBLE, m->bounds.left,
                              m->bounds.top, m->w, m->h, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    m->image.Create(m->w, m->h);
    for (int x = 0; x < m->w; x += 40) {
      forms::BrushHandle b(CreateSolidBrush(RGB(200, (x / 8) & 255, 60)));
      RECT r{x, 0, x + 40, m->h};
      FillRect(m->image.Dc(), &r, b.get());
    }
  }
  std::printf("Effect pace on %zu monitors at once, one window and one timer each; runs stop after about %d ms"
              " of nominal time\n", g_monitors.size(), capMs);
  for (size_t i = 0; i < g_monitors.size(); ++i) {
    const RECT& b = g_monitors[i]->bounds;
    std::printf("  monitor %zu: %ld,%ld %d x %d\n", i, b.left, b.top, g_monitors[i]->w, g_monitors[i]->h);
  }
  std::printf("%-10s %5s %8s %6s %9s %12s %11s %6s\n", "kind", "speed", "monitor", "steps", "interval",
              "measured ms", "nominal ms", "ratio");
  double worst = 0;
  for (int speed : speeds) {
    for (auto& m : g_monitors) m->SetSpeed(speed);
    for (int kind = 0; kind < saver::kEffectKinds; ++kind) {
      bool any = false;
      for (auto& m : g_monitors) any = m->Begin(kind, capMs) || any;
      if (!any) continue;
      MSG msg;
      while (std::any_of(g_monitors.begin(), g_monitors.end(), [](const auto& m) { return m->running; }) &&
             GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
      for (size_t i = 0; i < g_monitors.size(); ++i) {
        const Monitor& m = *g_monitors[i];
        const double nominal = static_cast<double>(m.target) * m.interval;
        const double ratio = (m.reached - m.begun) / nominal;
        worst = std::max(worst, ratio);
        std::printf("%-10s %5d %8zu %6d %9d %12.1f %11.1f %6.3f\n", kNames[kind], speed, i, m.target, m.interval,
                    m.reached - m.begun, nominal, ratio);
      }
    }
  }
  std::printf("\nWorst measured / nominal on any monitor: %.3f\n", worst);
  for (auto& m : g_monitors) DestroyWindow(m->hwnd);
  return 0;
}
