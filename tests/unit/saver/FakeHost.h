// A stand-in for the saver window: records what the sequencer asks of it,
// with a clock that moves by the timer interval on every tick. Like the real
// window, a load runs in the background: it is still running for the first
// `loadTicks` takes, then reports; a picture it cannot show is reported as
// failed, never by an exception. The pictures come from a real
// PictureSource over a theme section of Image<n> and Wave<n> keys.
#pragma once
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "saver/Sequencer.h"

namespace saver {
inline void PrintTo(ShowState s, std::ostream* os) { *os << "ShowState " << static_cast<int>(s); }
}  // namespace saver

namespace saver_test {

using saver::ShowState;

struct FakeHost : saver::MonitorHost, saver::ShowOutput {
  bool session = true;
  int interval = saver::kIdleInterval;
  std::vector<int> intervals;
  SIZE client = {640, 480};
  SIZE image = {100, 100};
  // Names the real component rejects: "missing" (no such file), "broken.bmp"
  // (bad data), "photo.xyz" (unknown extension), "" (no Image<n> key).
  std::vector<std::string> attempts;  // every load started, shown or not
  std::vector<std::string> loaded;
  std::vector<int> appearKinds, eraseKinds;
  std::vector<std::string> waves;
  std::vector<int> midis;
  std::function<bool(int)> midiStarts = [](int) { return true; };
  int merges = 0;
  std::vector<saver::TitleLine> titles;
  std::vector<std::pair<int, saver::MixDirection>> frames;
  int titleEnds = 0;
  saver::Sequencer* seq = nullptr;

  bool InSaverSession() const override { return session; }
  void SetInterval(int ms) override {
    interval = ms;
    intervals.push_back(ms);
  }
  RECT ImageArea() const override { return {0, 0, client.cx, client.cy}; }
  int loadTicks = 0;
  std::string loading;
  int loadLeft = 0;
  void StartImageLoad(const std::string& name) override {
    attempts.push_back(name);
    loading = name;
    loadLeft = loadTicks;
  }
  saver::ImageLoad TakeImageLoad() override {
    if (loadLeft > 0) {
      --loadLeft;
      return saver::ImageLoad::Running;
    }
    if (loading == "missing" || loading == "broken.bmp" || loading == "photo.xyz" || loading.empty())
      return saver::ImageLoad::Failed;
    loaded.push_back(loading);
    return saver::ImageLoad::Ready;
  }
  SIZE ImageSize() const override { return image; }
  void ApplyImagePalette() override {}
  std::vector<POINT> staged;
  std::vector<int> coins;
  void PlacePicture(POINT at, int coin) override {
    staged.push_back(at);
    coins.push_back(coin);
  }
  // An effect of `effectSteps` steps after its set-up, at `effectInterval` ms.
  int effectSteps = 1;
  int effectInterval = saver::kIdleInterval;
  int stepsTaken = 0;
  std::vector<int> stepsPerTick;
  saver::EffectStep BeginEffect(bool appear, int kind) override {
    (appear ? appearKinds : eraseKinds).push_back(kind);
    stepsTaken = 0;
    return {false, effectInterval};
  }
  saver::EffectStep EffectSteps(bool, int, int steps) override {
    const int taken = std::min(steps, effectSteps - stepsTaken);
    stepsTaken += taken;
    stepsPerTick.push_back(taken);
    return stepsTaken >= effectSteps ? saver::Finished() : saver::EffectStep{false, effectInterval};
  }
  void PlayWave(const std::string& name) override { waves.push_back(name); }
  bool PlayMidiNumber(int n) override {
    midis.push_back(n);
    return midiStarts(n);
  }
  void KeepScreenAsBackground() override { ++merges; }
  void BeginTitle(const saver::TitleLine& line) override { titles.push_back(line); }
  void TitleFrame(int k, saver::MixDirection d) override { frames.push_back({k, d}); }
  void EndTitle() override { ++titleEnds; }
  // What the screen would show of the caption and the picture, in order.
  std::vector<std::string> screen;
  void ShowCaption() override { screen.push_back("caption " + loaded.back()); }
  void HideCaption() override { screen.push_back("no caption"); }
  void ClearPicture() override { screen.push_back("cleared"); }
  void SetPaused(bool paused) override { screen.push_back(paused ? "paused" : "going on"); }
};

// Scripted random numbers first (each must lie below its bound), then a
// fixed-seed generator.
struct FakeRandom {
  std::deque<int> script;
  std::mt19937 engine{12345};
  int operator()(int bound) {
    if (bound <= 0) return 0;
    if (!script.empty()) {
      int v = script.front();
      script.pop_front();
      if (v < 0 || v >= bound) throw std::logic_error("scripted value out of range");
      return v;
    }
    return std::uniform_int_distribution<int>(0, bound - 1)(engine);
  }
};

// A theme section with Image<n> = "img<n>.bmp" and Wave<n> = "wave<n>.wav"
// for n < 10, but the names given; an empty name leaves Image<n> out.
inline settings::Section ImageEntries(const std::map<int, std::string>& names = {}) {
  std::string block;
  for (int n = 0; n < 10; ++n) {
    auto it = names.find(n);
    const std::string image = it != names.end() ? it->second : "img" + std::to_string(n) + ".bmp";
    if (!image.empty()) block += "Image" + std::to_string(n) + "=" + image + '\0';
    block += "Wave" + std::to_string(n) + "=wave" + std::to_string(n) + ".wav" + '\0';
  }
  block += '\0';
  return settings::Section::Parse(block.data(), block.size());
}

// The numbers n of the "img<n>.bmp" loads started, in order.
inline std::vector<int> ImageNumbers(const std::vector<std::string>& attempts) {
  std::vector<int> numbers;
  for (const std::string& name : attempts)
    if (name.rfind("img", 0) == 0) numbers.push_back(std::stoi(name.substr(3)));
  return numbers;
}

// A sequencer wired to the fake host, the fake clock, the random source and
// a picture source over the theme (ImageEntries() when it has no entries).
struct Rig {
  FakeHost host;
  DWORD now = 1000;
  std::shared_ptr<FakeRandom> random = std::make_shared<FakeRandom>();
  std::unique_ptr<saver::PictureSource> pictures;
  std::unique_ptr<saver::Sequencer> seq;

  explicit Rig(saver::SaverSettings s, std::deque<int> script = {},
               const std::map<int, std::string>& names = {}) {
    random->script = std::move(script);
    auto r = random;
    const saver::RandomFn fn = [r](int bound) { return (*r)(bound); };
    if (s.Entries.Entries().empty()) s.Entries = ImageEntries(names);
    pictures = std::make_unique<saver::PictureSource>(s, fn);
    seq = std::make_unique<saver::Sequencer>(s, *pictures, host, &host, [this] { return now; }, fn);
    host.seq = seq.get();
  }
  // One Timer2 tick: the clock moves by the current interval first.
  void Tick() {
    now += static_cast<DWORD>(host.interval);
    seq->Tick();
  }
  ShowState State() const { return seq->State(); }
  // Ticks until the sequencer enters `state` (from another one); returns the number of ticks.
  int RunUntil(ShowState state, int limit = 100000) {
    for (int n = 1; n <= limit; ++n) {
      const ShowState before = State();
      Tick();
      if (State() == state && before != state) return n;
    }
    throw std::logic_error("state never reached");
  }
};

// Settings of a quiet theme: no title, short delays.
inline saver::SaverSettings QuickTheme() {
  saver::SaverSettings s;
  s.Title.Title = false;
  s.FirstDelay = 100;
  s.ImageOnDelay = 50;
  s.ImageOffDelay = 30;
  s.AppearOn[saver::Blind] = true;
  s.EraseOn[saver::Blind] = true;
  s.ImageCount = 5;
  s.ImageOrdRandom = false;
  s.ImagePosRandom = false;
  return s;
}

}  // namespace saver_test

// The sequencer tests' short name for the states they step through.
using S = saver::ShowState;
