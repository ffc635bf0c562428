// Pan and zoom and the blurred fill, measured (prints figures, asserts nothing):
//  1. one 1920 x 1080 frame: resampled from a 1.15 times larger copy (SSE2
//     and plain), and with the blit the saver adds onto its screen bitmap;
//     median and 99th percentile;
//  2. smoothness from the frames' transforms: how much the step of a
//     tracked point changes from one frame to the next, sub-pixel against
//     frames cut at whole pixels;
//  3. the blurred fill of a 6000 x 4000 photo for a 1920 x 1080 monitor,
//     as the loader's worker makes it, against the fit alone;
//  4. a full-screen window running the saver's frame loop (its timer,
//     PictureMotion, Surfaces' flush) for --seconds: frames a second and
//     the share of one core the process used.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "../Clock.h"
#include "forms/Bitmap.h"
#include "picture/BlurredFill.h"
#include "picture/Display.h"
#include "picture/Fit.h"
#include "picture/Resample.h"
#include "picture/Staging.h"
#include "saver/MotionPath.h"
#include "saver/PictureMotion.h"
#include "saver/Surfaces.h"

namespace {

constexpr int kW = 1920, kH = 1080;

// A photo-like copy: smooth colour ramps with fine detail.
picture::PixelImage Scene(int w, int h) {
  picture::PixelImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t r = (x * 255 / w) ^ ((x / 7 + y / 5) & 15), g = (y * 255 / h), b = ((x + y) / 3) & 0xFF;
      image.Row(y)[x] = r << 16 | g << 8 | b;
    }
  return image;
}

struct Figures {
  double median, p99;
};

Figures Spread(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]};
}

void Print(const char* what, const Figures& f) {
  std::printf("  %-52s median %6.2f ms   p99 %6.2f ms\n", what, f.median, f.p99);
}

void FrameTimes() {
  std::printf("== one pan-and-zoom frame, %d x %d, from a %d x %d copy (300 frames along a 5 s move)\n", kW, kH,
              static_cast<int>(kW * saver::kMotionZoom + 0.5), static_cast<int>(kH * saver::kMotionZoom + 0.5));
  const picture::PixelImage copy = Scene(static_cast<int>(kW * saver::kMotionZoom + 0.5),
                                         static_cast<int>(kH * saver::kMotionZoom + 0.5));
  const saver::MotionPath path({0, 0, double(copy.width), double(copy.height)}, true, 0.7, 0.3, 5000);
  picture::PixelImage frame(kW, kH);
  for (auto [name, kernel] : {std::pair{"resample, SSE2", picture::ResampleKernel::Sse2},
                              std::pair{"resample, plain", picture::ResampleKernel::Plain}}) {
    std::vector<double> ms;
    for (int i = 0; i < 300; ++i) {
      const double t0 = bench::NowMs();
      picture::Resample(copy, path.MapAt(i * 1000.0 / 60, kW, kH), picture::WholeOf(frame), kernel);
      ms.push_back(bench::NowMs() - t0);
    }
    Print(name, Spread(ms));
  }
  // As the saver draws it: into the frame's DIB section, then onto the screen bitmap.
  forms::Bitmap dib, screen;
  dib.CreateDib(kW, kH, 32);
  screen.Create(kW, kH);
  const picture::PixelRect bits = {reinterpret_cast<uint32_t*>(dib.Bits()), kW, kH, kW};
  std::vector<double> ms;
  for (int i = 0; i < 300; ++i) {
    const double t0 = bench::NowMs();
    GdiFlush();
    picture::Resample(copy, path.MapAt(i * 1000.0 / 60, kW, kH), bits);
    BitBlt(screen.Dc(), 0, 0, kW, kH, dib.Dc(), 0, 0, SRCCOPY);
    GdiFlush();
    ms.push_back(bench::NowMs() - t0);
  }
  Print("resample, SSE2, and the blit onto the screen bitmap", Spread(ms));
}

// The step of a tracked point from frame to frame at 60 frames a second.
double WorstStepChange(const saver::MotionPath& path, double sourceX, bool wholePixels) {
  double worst = 0, last = 0, previous = 0;
  for (int i = 0; i <= path.Duration() * 60 / 1000; ++i) {
    saver::MotionView v = path.At(i * 1000.0 / 60);
    if (wholePixels) v.x = std::floor(v.x), v.w = std::floor(v.w);
    const double at = (sourceX - v.x) * kW / v.w;
    if (i >= 2) worst = std::max(worst, std::abs((at - previous) - last));
    if (i >= 1) last = at - previous;
    previous = at;
  }
  return worst;
}

void Smoothness() {
  std::printf("== smoothness: change of a tracked point's step between consecutive frames (60 fps, 3 s stand)\n");
  const int w = static_cast<int>(kW * saver::kMotionZoom + 0.5), h = static_cast<int>(kH * saver::kMotionZoom + 0.5);
  double sub = 0, whole = 0;
  for (bool in : {true, false})
    for (double x : {0.1, 0.5, 0.9}) {
      const saver::MotionPath path({0, 0, double(w), double(h)}, in, 0.8, 0.2, 3000);
      sub = std::max(sub, WorstStepChange(path, x * w, false));
      whole = std::max(whole, WorstStepChange(path, x * w, true));
    }
  std::printf("  sub-pixel frames: worst %.4f px; frames cut at whole pixels: worst %.3f px\n", sub, whole);
}

picture::LoadedPicture Photo(int w, int h) {
  const picture::PixelImage pixels = Scene(w, h);
  return picture::PictureOf(pixels);
}

void FillTimes() {
  std::printf("== blurred fill of a 6000 x 4000 photo for a %d x %d monitor (median of 5)\n", kW, kH);
  const picture::PixelImage fitted = Scene(1620, 1080);
  std::vector<double> fill, fit, staged;
  for (int i = 0; i < 5; ++i) {
    double t0 = bench::NowMs();
    picture::FillBars(fitted, kW, kH);
    fill.push_back(bench::NowMs() - t0);
    picture::LoadedPicture photo = Photo(6000, 4000);
    t0 = bench::NowMs();
    picture::FitPicture(std::move(photo), {kW, kH}, nullptr);
    fit.push_back(bench::NowMs() - t0);
    photo = Photo(6000, 4000);
    t0 = bench::NowMs();
    picture::StagePicture(std::move(photo), {{kW, kH}, {kW, kH}, true, 1}, nullptr);
    staged.push_back(bench::NowMs() - t0);
  }
  Print("the fill itself (cover, blur, darken, sharp on top)", Spread(fill));
  Print("fit alone, as without the fill (area averaging)", Spread(fit));
  Print("fit, fill and bitmap on the worker together", Spread(staged));
}

// The saver's frame loop in a full-screen window.
struct Live {
  HWND hwnd = nullptr;
  saver::Surfaces* stage = nullptr;
  saver::PictureMotion* motion = nullptr;
};
Live live;

LRESULT CALLBACK LiveProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && live.motion) {
    live.motion->DrawDue(saver::MotionClock(), *live.stage);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

double CpuMs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto ms = [](const FILETIME& f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

void LiveLoop(int seconds) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = LiveProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GlimoraMotionBench";
  RegisterClassA(&wc);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  live.hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr,
                              nullptr, wc.hInstance, nullptr);
  saver::Surfaces stage(400, 400, [](int b) { return b > 0 ? rand() % b : 0; });
  stage.Back.Create(w, h);
  stage.Back.Fill(RGB(0, 0, 0));
  stage.BuildFromBack({w, h});
  stage.SetWindow(live.hwnd);
  saver::PictureMotion motion;
  HDC screen = GetDC(live.hwnd);
  const int hertz = GetDeviceCaps(screen, VREFRESH);
  ReleaseDC(live.hwnd, screen);
  const int copyW = static_cast<int>(w * saver::kMotionZoom + 0.5), copyH = static_cast<int>(h * saver::kMotionZoom + 0.5);
  forms::Bitmap picture;
  picture.Create(w, h);
  motion.Prepare(Scene(copyW, copyH), {0, 0, double(copyW), double(copyH)}, {0, 0, w, h}, {w, h}, seconds * 1000,
                 [](int b) { return b > 0 ? rand() % b : 0; }, picture.Dc());
  motion.Run(saver::MotionClock(), hertz);
  live.stage = &stage;
  live.motion = &motion;
  SetTimer(live.hwnd, 1, 5, nullptr);
  const double cpu0 = CpuMs(), t0 = bench::NowMs();
  MSG msg;
  while (bench::NowMs() - t0 < seconds * 1000.0) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  const double wall = bench::NowMs() - t0, cpu = CpuMs() - cpu0;
  std::printf("== the saver's frame loop, full screen %d x %d, refresh reported %d Hz, %d s\n", w, h, hertz, seconds);
  std::printf("  %.1f frames a second; CPU %.0f %% of one core\n", motion.FramesDrawn() * 1000.0 / wall, 100 * cpu / wall);
  live.motion = nullptr;
  DestroyWindow(live.hwnd);
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 5;
  for (int i = 1; i + 1 < argc; ++i)
    if (!std::strcmp(argv[i], "--seconds")) seconds = std::atoi(argv[i + 1]);
  std::printf("SSE2 on this processor: %s\n", picture::HasSse2() ? "yes" : "no");
  FrameTimes();
  Smoothness();
  FillTimes();
  LiveLoop(seconds);
  std::fflush(stdout);
  return 0;
}
