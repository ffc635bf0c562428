// Stand-in for the system's PASSWORD.CPL of Windows 95/98, for tests.
// VerifyScreenSavePwd answers what C:\glimora_password.txt says ("1":
// password right, anything else or no file: wrong) and appends one line
// per call to C:\glimora_password.log.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND hwnd) {
  char answer = '0';
  if (FILE* f = std::fopen("C:\\glimora_password.txt", "rb")) {
    int c = std::fgetc(f);
    if (c != EOF) answer = static_cast<char>(c);
    std::fclose(f);
  }
  if (FILE* log = std::fopen("C:\\glimora_password.log", "ab")) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    std::fprintf(log, "VerifyScreenSavePwd %s %c\n", cls, answer);
    std::fclose(log);
  }
  return answer == '1' ? TRUE : FALSE;
}
