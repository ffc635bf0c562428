#include "saver/ExitGate.h"

#include <string>

#include "forms/Gdi.h"
#include "forms/PathText.h"

namespace saver {

namespace {
using VerifyScreenSavePwdFn = BOOL(WINAPI*)(HWND);

bool IsNtPlatform() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// ScreenSaveUsePassword as an integer; false when the key or the value is
// missing or the value is not a DWORD (nothing to check then).
bool PasswordSwitchedOn() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  const forms::RegistryKey key(opened);
  DWORD type = 0, value = 0, size = sizeof value;
  LONG r = RegQueryValueExA(key.get(), "ScreenSaveUsePassword", nullptr, &type,
                            reinterpret_cast<BYTE*>(&value), &size);
  return r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value && value != 0;
}

void SetScreenSaverRunning(bool on) {
  UINT old = 0;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? 1 : 0, &old, 0);
}
}  // namespace

ExitGate::ExitGate() {
  SetScreenSaverRunning(true);
  while (ShowCursor(FALSE) >= 0) {
  }
}

ExitGate::~ExitGate() {
  SetScreenSaverRunning(false);
  ShowCursor(TRUE);
}

bool ExitGate::MayClose(HWND owner) {
  // The system's dialog runs a message loop of its own: no second check meanwhile.
  if (checkingPassword_) return false;
  if (IsNtPlatform() || !PasswordSwitchedOn()) return true;
  checkingPassword_ = true;
  bool close = true;
  ShowCursor(TRUE);
  std::string path = forms::SystemDirectory() + "PASSWORD.CPL";
  forms::ModuleHandle library(LoadLibraryA(path.c_str()));
  if (library) {
    auto verify = reinterpret_cast<VerifyScreenSavePwdFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "VerifyScreenSavePwd")));
    // A library without the entry point guards nothing: close, as without the library.
    if (verify) close = verify(owner) != FALSE;
  }
  library.reset();
  ShowCursor(FALSE);
  checkingPassword_ = false;
  return close;
}

}  // namespace saver
