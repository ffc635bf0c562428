// Timer component: WM_TIMER on its form's window, delivered to OnTimer.
// Like the forms' other components it lives as long as its form.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

class Form;

class Timer {
 public:
  Timer(Form& form, const char* name, UINT interval = 1000, bool enabled = true);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  UINT Interval() const { return interval_; }
  // Restarts the period. An interval of 0 counts as 1 ms (the system's
  // minimum applies), so a bad setting can never stop the timer for good.
  void SetInterval(UINT ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Arms the timer once the form's window exists (called by the form after Create()).
  void Start() { Arm(); }

  std::function<void()> OnTimer;

 private:
  static void CALLBACK Proc(HWND hwnd, UINT msg, UINT_PTR id, DWORD time);
  void Arm();
  void Disarm();

  Form& form_;
  std::string name_;
  UINT interval_;
  bool enabled_;
  HWND armedOn_ = nullptr;
};

}  // namespace forms
