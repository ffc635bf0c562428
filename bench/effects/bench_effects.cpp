// Effect benchmark on a full-screen 1920 x 1080 picture, with the saver's
// own stage (bitmaps compatible with the screen, flushes to a real window)
// and its own pace keeping:
//  - the cost of one step (median and worst, ms), driven as fast as possible;
//  - the pace at speeds 0, 200, 395 and 400, driven by a Win32 timer in a
//    message loop the way the sequencer drives Timer2: measured time to the
//    last step against its nominal time (steps x interval).
// Slow speeds would take minutes per effect; unless --full is given, a run
// stops after about --cap ms (default 4000) of nominal time and the table
// says how many of the effect's steps it covered. --speeds 0,200 and
// --kinds Stretch,Fade pace only the speeds and kinds listed.
// Prints a table; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "saver/Pace.h"
#include "forms/WindowClass.h"
#include "../Clock.h"
#include "saver/Surfaces.h"

namespace {

constexpr int kW = 1920, kH = 1080;
const char* const kNames[] = {"Normal", "Blind", "Scroll", "Stretch", "Slide", "HalfSlide", "Mesh", "Fade"};

int Random(int bound) { return bound > 0 ? rand() % bound : 0; }

// The saver window in miniature: a full-screen window and a stage at one speed.
struct Bench {
  HWND hwnd;
  forms::Bitmap image;
  std::unique_ptr<saver::Surfaces> stage;

  explicit Bench(HWND w) : hwnd(w) {
    image.Create(kW, kH);
    for (int x = 0; x < kW; x += 40) {
      forms::BrushHandle b(CreateSolidBrush(RGB(200, (x / 8) & 255, 60)));
      RECT r{x, 0, x + 40, kH};
      FillRect(image.Dc(), &r, b.get());
    }
    SetSpeed(400);
  }
  void SetSpeed(int speed) {
    stage = std::make_unique<saver::Surfaces>(speed, speed, Random);
    stage->Back.Create(kW, kH);
    for (int y = 0; y < kH; y += 60) {
      forms::BrushHandle b(CreateSolidBrush(RGB(20, 40 + y / 10, 90)));
      RECT r{0, y, kW, y + 60};
      FillRect(stage->Back.Dc(), &r, b.get());
    }
    stage->BuildFromBack({kW, kH});
    stage->SetWindow(hwnd);
  }
  // Screen and window as an appear (background) or erase (picture shown) begins.
  void Reset(bool appear, int coin) {
    saver::Surfaces& s = *stage;
    BitBlt(s.Screen.Dc(), 0, 0, kW, kH, s.Back.Dc(), 0, 0, SRCCOPY);
    if (!appear) BitBlt(s.Screen.Dc(), 0, 0, kW, kH, image.Dc(), 0, 0, SRCCOPY);
    s.Flush({0, 0, kW, kH});
    GdiFlush();
    s.PlacePicture(image.Dc(), {kW, kH}, {0, 0}, coin);
  }
};

struct StepCost { int steps; double median, worst; };

// Every step one by one, as fast as they go.
StepCost MeasureSteps(Bench& b, bool appear, int kind, int coin) {
  b.Reset(appear, coin);
  saver::EffectStep r = b.stage->BeginEffect(appear, kind);
  std::vector<double> t;
  while (!r.Done && t.size() < 100000) {
    const double t0 = bench::NowMs();
    r = b.stage->EffectSteps(appear, kind, 1);
    GdiFlush();
    t.push_back(bench::NowMs() - t0);
  }
  std::sort(t.begin(), t.end());
  if (t.empty()) return {0, 0, 0};
  return {static_cast<int>(t.size()), t[t.size() / 2], t.back()};
}

// One paced run, driven by WM_TIMER as the sequencer is.
struct Run {
  Bench* bench = nullptr;
  bool appear = true;
  int kind = 0;
  int target = 0;  // the step whose time is measured
  int taken = 0;
  int ticks = 0;
  saver::Pace pace;
  double begun = 0, reached = 0;
};
Run* g_run = nullptr;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == 2 && g_run) {
    Run& run = *g_run;
    const int owed = std::min(run.pace.TakeOwed(timeGetTime()), run.target - run.taken);
    if (owed <= 0) return 0;
    ++run.ticks;
    const saver::EffectStep r = run.bench->stage->EffectSteps(run.appear, run.kind, owed);
    run.taken += owed;
    if (r.Done || run.taken >= run.target) {
      run.reached = bench::NowMs();
      KillTimer(hwnd, 2);
      PostQuitMessage(0);
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

struct PaceFigures { int steps, interval, ticks; double measured, nominal; };

PaceFigures MeasurePace(Bench& b, bool appear, int kind, int coin, int steps, int capMs) {
  b.Reset(appear, coin);
  Run run;
  run.bench = &b;
  run.appear = appear;
  run.kind = kind;
  const saver::EffectStep setUp = b.stage->BeginEffect(appear, kind);
  if (setUp.Done) return {0, 0, 0, 0, 0};
  run.begun = bench::NowMs();
  run.pace.Start(timeGetTime(), setUp.NextInterval);
  const int interval = run.pace.Interval();
  run.target = capMs > 0 ? std::max(1, std::min(steps, capMs / interval)) : steps;
  g_run = &run;
  SetTimer(b.hwnd, 2, static_cast<UINT>(interval), nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  g_run = nullptr;
  return {run.target, interval, run.ticks, run.reached - run.begun,
          static_cast<double>(run.target) * interval};
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;  // coin 0 only, appear only
  int capMs = 4000;
  std::vector<int> speeds = {0, 200, 395, 400};
  std::string kinds;  // names of the kinds to pace, comma-separated; empty: all
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // a long run shows each row as it comes
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--kinds") && i + 1 < argc) kinds = std::string(",") + argv[++i] + ",";
    if (!strcmp(argv[i], "--speeds") && i + 1 < argc) {  // e.g. --speeds 0,200
      speeds = bench::NumberList(argv[++i]);
    }
    if (!strcmp(argv[i], "--quick")) quick = true;
    if (!strcmp(argv[i], "--full")) capMs = 0;
    if (!strcmp(argv[i], "--cap") && i + 1 < argc) capMs = atoi(argv[++i]);
  }
  forms::RegisterWindowClass({"GlimoraEffectBench", WndProc});
  HWND hwnd = CreateWindowExA(0, "GlimoraEffectBench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kW, kH,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HDC screenDc = GetDC(nullptr);
  std::printf("Effect benchmark: %d x %d full-screen picture, %d-bit display bitmaps, flushing to a window\n",
              kW, kH, GetDeviceCaps(screenDc, BITSPIXEL));
  ReleaseDC(nullptr, screenDc);
  Bench b(hwnd);

  // Steps per effect do not depend on the speed; the cost table counts them.
  int stepCount[saver::kEffectKinds][2][2] = {};
  std::printf("\nStep cost (every step of the effect, one at a time):\n");
  std::printf("%-10s %-6s %5s %7s %10s %9s\n", "kind", "dir", "coin", "steps", "median ms", "worst ms");
  for (int kind = 0; kind < saver::kEffectKinds; ++kind)
    for (bool appear : {true, false})
      for (int coin : {0, 1}) {
        if (quick && (coin == 1 || !appear)) continue;
        const StepCost c = MeasureSteps(b, appear, kind, coin);
        stepCount[kind][appear][coin] = c.steps;
        std::printf("%-10s %-6s %5d %7d %10.3f %9.3f\n", kNames[kind], appear ? "appear" : "erase", coin,
                    c.steps, c.median, c.worst);
      }

  TIMECAPS tc{};
  timeGetDevCaps(&tc, sizeof tc);
  std::printf("\nPace, driven by a Win32 timer (SetTimer) in a message loop, coin 0; ");
  if (capMs > 0)
    std::printf("runs stop after about %d ms of nominal time\n", capMs);
  else
    std::printf("whole effects\n");
  std::printf("%-10s %-6s %5s %7s %9s %9s %6s %12s %11s %6s\n", "kind", "dir", "speed", "steps", "of", "interval",
              "ticks", "measured ms", "nominal ms", "ratio");
  double worst = 0;
  for (int speed : speeds) {
    b.SetSpeed(speed);
    for (int kind = 0; kind < saver::kEffectKinds; ++kind)
      for (bool appear : {true, false}) {
        if (quick && !appear) continue;
        if (!kinds.empty() && kinds.find(std::string(",") + kNames[kind] + ",") == std::string::npos) continue;
        const int all = stepCount[kind][appear][0];
        const PaceFigures p = MeasurePace(b, appear, kind, 0, all, capMs);
        if (p.steps == 0) {
          std::printf("%-10s %-6s %5d %7s %9d %9s %6s %12s %11s %6s\n", kNames[kind], appear ? "appear" : "erase",
                      speed, "-", all, "-", "-", "-", "-", "n/a");
          continue;
        }
        const double ratio = p.measured / p.nominal;
        worst = std::max(worst, ratio);
        std::printf("%-10s %-6s %5d %7d %9d %9d %6d %12.1f %11.1f %6.3f\n", kNames[kind],
                    appear ? "appear" : "erase", speed, p.steps, all, p.interval, p.ticks, p.measured,
                    p.nominal, ratio);
        std::fflush(stdout);
      }
  }
  std::printf("\nWorst measured / nominal: %.3f\n", worst);
  std::printf("Timer resolution reported by timeGetDevCaps: %u ms minimum\n", tc.wPeriodMin);
  DestroyWindow(hwnd);
  return 0;
}
