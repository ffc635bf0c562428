#include "app/RunMode.h"

#include <cstring>

#include "forms/Gdi.h"
#include "forms/PathText.h"
#include "settings/Convert.h"

namespace app {

HWND OwnerWindow = nullptr;

namespace {
bool IsOneOf(const char* arg, char letter) {
  const char forms[4][3] = {{'/', letter, 0}, {'-', letter, 0},
                            {'/', static_cast<char>(letter - 'a' + 'A'), 0},
                            {'-', static_cast<char>(letter - 'a' + 'A'), 0}};
  for (const auto& f : forms)
    if (std::strcmp(arg, f) == 0) return true;
  return false;
}
}  // namespace

RunMode ModeFromArgument(const char* first) {
  if (!first) return RunMode::Settings;
  if (IsOneOf(first, 'c')) return RunMode::Settings;
  if (IsOneOf(first, 's')) return RunMode::Saver;
  if (IsOneOf(first, 'p')) return RunMode::Preview;
  if (IsOneOf(first, 'a')) return RunMode::PasswordChange;
  return RunMode::Settings;
}

bool ParseWindowHandle(const char* text, HWND& hwnd) {
  int value;
  if (!text || !*text || !settings::TryStrToInt(text, value)) return false;
  hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
  return true;
}

void ReadOwnerWindow(int argc, char** argv) {
  OwnerWindow = nullptr;
  if (argc > 2 && argv[2] && *argv[2] && !ParseWindowHandle(argv[2], OwnerWindow))
    OwnerWindow = nullptr;
}

bool RunCheck(const char* name) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
  if (!mutex) return true;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return true;
  }
  return false;  // held on purpose until the process ends
}

void ChangePassword() {
  typedef DWORD(WINAPI * PwdChangePasswordFn)(LPCSTR, HWND, DWORD, DWORD);
  forms::ModuleHandle mpr(LoadLibraryA((forms::SystemDirectory() + "MPR.DLL").c_str()));
  if (!mpr) return;
  auto change = reinterpret_cast<PwdChangePasswordFn>(
      reinterpret_cast<void*>(GetProcAddress(mpr.get(), "PwdChangePasswordA")));
  if (change) change("SCRSAVE", OwnerWindow, 0, 0);
}

}  // namespace app
