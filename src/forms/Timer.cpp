#include "forms/Timer.h"

#include <algorithm>
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"

namespace forms {

namespace {
// Live timers: a WM_TIMER still queued for a timer that has gone is dropped.
std::vector<Timer*>& LiveTimers() {
  static std::vector<Timer*> timers;
  return timers;
}
}  // namespace

Timer::Timer(Form& form, const char* name, UINT interval, bool enabled)
    : form_(form), name_(name), interval_(std::max<UINT>(interval, 1)), enabled_(enabled) {
  LiveTimers().push_back(this);
  Arm();
}

Timer::~Timer() {
  Disarm();
  auto& live = LiveTimers();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void Timer::SetInterval(UINT ms) {
  interval_ = std::max<UINT>(ms, 1);
  Arm();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled_) {
    Arm();
  } else {
    Disarm();
  }
}

// The timer's id is its own address; SetTimer with the same id replaces
// the period, so re-arming restarts it.
void Timer::Arm() {
  HWND hwnd = form_.Handle();
  if (!enabled_ || !hwnd) return;
  if (armedOn_ && armedOn_ != hwnd) Disarm();
  if (SetTimer(hwnd, reinterpret_cast<UINT_PTR>(this), interval_, Proc)) armedOn_ = hwnd;
}

void Timer::Disarm() {
  if (armedOn_ && IsWindow(armedOn_)) KillTimer(armedOn_, reinterpret_cast<UINT_PTR>(this));
  armedOn_ = nullptr;
}

void CALLBACK Timer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  auto* timer = reinterpret_cast<Timer*>(id);
  auto& live = LiveTimers();
  if (std::find(live.begin(), live.end(), timer) == live.end()) return;
  if (!timer->enabled_ || !timer->OnTimer) return;
  Guarded([&] { timer->OnTimer(); });
}

}  // namespace forms
