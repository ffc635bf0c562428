#include "forms/WindowClass.h"

namespace forms {

void RegisterWindowClass(const WindowClass& c) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (GetClassInfoA(inst, c.name, &existing)) return;
  WNDCLASSA wc = {};
  wc.style = c.style;
  wc.lpfnWndProc = c.proc;
  wc.hInstance = inst;
  if (c.arrowCursor) wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  if (c.programIcon) wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(1));
  wc.hbrBackground = c.background;
  wc.lpszClassName = c.name;
  RegisterClassA(&wc);
}

}  // namespace forms
