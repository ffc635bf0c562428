// Where a monitor's window sends what it cannot decide alone: input, its
// show's tick, a finished load, a request to close. The show controller is
// the one sink of every window, so every key of every monitor reaches it.
#pragma once
#include <windows.h>

#include "forms/Form.h"

namespace saver {

class MonitorWindow;

class WindowSink {
 public:
  virtual ~WindowSink() = default;
  // WM_KEYDOWN (wParam: the key), WM_LBUTTONUP or WM_MOUSEMOVE, posted by
  // the window so the show may end only after the window's handler returned.
  virtual void Input(MonitorWindow& window, UINT message, WPARAM wp) = 0;
  // Whether keys are the show's (a run) or pass on to the controls (the preview).
  virtual bool TakesInput() const = 0;
  // Timer2 of the window (the background has arrived by then).
  virtual void Tick(MonitorWindow& window) = 0;
  // A picture of the show finished loading on the window's worker.
  virtual void PictureLoaded(MonitorWindow& window) = 0;
  virtual void CloseAsked(MonitorWindow& window, forms::CloseAction& action) = 0;
  virtual void DisplayChanged(MonitorWindow& window) = 0;
};

}  // namespace saver
