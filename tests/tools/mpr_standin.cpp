// Stand-in for the system's MPR.DLL password-change entry point: records the
// call in C:\glimora-pwdchange.log so a test can see what the program passed.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner,
                                                                  DWORD reserved1, DWORD reserved2) {
  FILE* f = std::fopen("C:\\glimora-pwdchange.log", "a");
  if (f) {
    std::fprintf(f, "%s|%ld|%lu|%lu\n", provider ? provider : "(null)",
                 static_cast<long>(reinterpret_cast<INT_PTR>(owner)), static_cast<unsigned long>(reserved1),
                 static_cast<unsigned long>(reserved2));
    std::fclose(f);
  }
  return 0;
}
