// Closing on input: on Windows 95/98 with the desktop's screen-saver
// password switched on, the system's password check must pass first.
#include "forms/Gdi.h"
#include "forms/PathText.h"
#include "saver/MainForm.h"

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
}  // namespace

void TMainForm::CloseWithPassword() {
  // The system's dialog runs a message loop of its own: no second check meanwhile.
  if (checkingPassword_) return;
  if (IsNtPlatform() || !PasswordSwitchedOn()) {
    Close();
    return;
  }
  checkingPassword_ = true;
  bool close = true;
  ShowCursor(TRUE);
  std::string path = forms::SystemDirectory() + "PASSWORD.CPL";
  forms::ModuleHandle library(LoadLibraryA(path.c_str()));
  if (library) {
    auto verify = reinterpret_cast<VerifyScreenSavePwdFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "VerifyScreenSavePwd")));
    // A library without the entry point guards nothing: close, as without the library.
    if (verify) close = verify(Handle()) != FALSE;
  }
  library.reset();
  ShowCursor(FALSE);
  checkingPassword_ = false;
  if (close) Close();
}
