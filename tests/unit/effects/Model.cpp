#include <gtest/gtest.h>

#include "Model.h"

#include <algorithm>
#include <sstream>

namespace fxtest {

namespace {

std::string Str(const RECT& r) {
  std::ostringstream o;
  o << "R(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
  return o.str();
}

// First difference between a bitmap and the model's array, or empty.
std::string Diff(const Dib& dib, const std::vector<uint32_t>& want, int cw, int ch) {
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x)
      if (dib.Get(x, y) != want[y * cw + x]) {
        std::ostringstream o;
        o << std::hex << "pixel (" << std::dec << x << "," << y << ") is 0x" << std::hex
          << dib.Get(x, y) << ", expected 0x" << want[y * cw + x];
        return o.str();
      }
  return {};
}

}  // namespace

Model::Model(const EffectRig& rig)
    : CW(rig.g.CW), CH(rig.g.CH), W(rig.g.W), H(rig.g.H), X(rig.g.X), Y(rig.g.Y),
      img{X, Y, X + W, Y + H}, rig_(rig) {
  screen.resize(CW * CH);
  window.resize(CW * CH);
  for (int y = 0; y < CH; ++y)
    for (int x = 0; x < CW; ++x) {
      screen[y * CW + x] = rig.screen->Get(x, y);
      window[y * CW + x] = rig.window->Get(x, y);
    }
}

// The masks' own shape is checked in test_masks.cpp.
int Model::Threshold(int band, int x, int y) {
  return saver::MaskThreshold(band == 8 ? saver::MaskBand::Mesh : saver::MaskBand::Fade, x, y);
}

void Model::Draw(const RECT& src, int x, int y) {
  for (int sy = src.top; sy < src.bottom; ++sy)
    for (int sx = src.left; sx < src.right; ++sx)
      Put(x + sx - src.left, y + sy - src.top, rig_.imagePx(sx, sy));
}

void Model::Restore(const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) Put(x, y, rig_.backPx(x, y));
}

void Model::Stretch(const RECT& dst) {
  const int w = dst.right - dst.left, h = dst.bottom - dst.top;
  if (w <= 0 || h <= 0) return;
  Dib band(w, h, 32);
  SetStretchBltMode(band.dc(), COLORONCOLOR);
  StretchBlt(band.dc(), 0, 0, w, h, rig_.image->dc(), 0, 0, W, H, SRCCOPY);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(dst.left + x, dst.top + y, band.Get(x, y));
}

void Model::Mix(int band, int k, bool in, const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const bool set = Threshold(band, x, y) <= k;
      Put(x, y, set == in ? rig_.imagePx(x - X, y - Y) : rig_.backPx(x, y));
    }
}

void Model::Flush(const RECT& r) {
  flushes.push_back(r);
  for (int y = std::max<int>(0, r.top); y < std::min<int>(CH, r.bottom); ++y)
    for (int x = std::max<int>(0, r.left); x < std::min<int>(CW, r.right); ++x)
      window[y * CW + x] = screen[y * CW + x];
}

::testing::AssertionResult RunEffect(EffectRig& rig, Routine routine, const Steps& steps,
                                     int expectedInterval) {
  Model model(rig);
  const saver::ShowState show = rig.show;
  rig.entered = true;
  rig.intervals.clear();
  rig.flushes.clear();

  rig.Run(routine);  // set-up: draws nothing
  if (rig.show != show) return ::testing::AssertionFailure() << "set-up ended the effect";
  if (rig.intervals != std::vector<int>{expectedInterval})
    return ::testing::AssertionFailure()
           << "set-up interval " << (rig.intervals.empty() ? -1 : rig.intervals.back())
           << ", expected " << expectedInterval;
  if (!rig.flushes.empty()) return ::testing::AssertionFailure() << "set-up flushed";
  if (auto d = Diff(*rig.screen, model.screen, model.CW, model.CH); !d.empty())
    return ::testing::AssertionFailure() << "set-up drew: " << d;

  for (size_t i = 0; i < steps.size(); ++i) {
    rig.flushes.clear();
    model.flushes.clear();
    rig.Run(routine);
    steps[i](model);
    const bool last = i + 1 == steps.size();
    auto fail = [&] { return ::testing::AssertionFailure() << "step " << i + 1 << " of " << steps.size() << ": "; };
    if (auto d = Diff(*rig.screen, model.screen, model.CW, model.CH); !d.empty())
      return fail() << "screen bitmap " << d;
    if (auto d = Diff(*rig.window, model.window, model.CW, model.CH); !d.empty())
      return fail() << "window " << d;
    if (rig.flushes.size() != model.flushes.size())
      return fail() << rig.flushes.size() << " flushes, expected " << model.flushes.size();
    for (size_t f = 0; f < model.flushes.size(); ++f)
      if (!EqualRect(&rig.flushes[f], &model.flushes[f]))
        return fail() << "flushed " << Str(rig.flushes[f]) << ", expected " << Str(model.flushes[f]);
    if (!last && rig.show != show) return fail() << "ended early";
    if (last && rig.show != saver::Next(show))
      return fail() << "did not end (ShowState " << static_cast<int>(rig.show) << ")";
  }
  if (rig.intervals.size() != 2 || rig.intervals.back() != saver::kIdleInterval)
    return ::testing::AssertionFailure() << "the interval was not put back to 5 ms";
  return ::testing::AssertionSuccess();
}

}  // namespace fxtest
