// The way out of a full-screen run. While the show runs, the system is told
// a screen saver is running and the cursor is hidden; the gate restores both
// when it goes. On Windows 95/98 with the desktop's screen-saver password
// switched on, the system's password check must pass before the show ends.
#pragma once
#include <windows.h>

namespace saver {

class ExitGate {
 public:
  ExitGate();
  ~ExitGate();
  // True when the show may end now (asks for the password where one is set;
  // false while that dialog is already open).
  bool MayClose(HWND owner);

 private:
  bool checkingPassword_ = false;
  ExitGate(const ExitGate&) = delete;  // restores the system once
  ExitGate& operator=(const ExitGate&) = delete;
};

}  // namespace saver
