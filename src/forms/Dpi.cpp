#include "forms/Dpi.h"

#include "forms/Gdi.h"

namespace forms {

namespace {
// Looked up at run time: older systems lack them, and the program must still load there.
template <class F>
F User32Entry(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int SystemDpi() {
  const WindowDc screen(nullptr);
  return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
}
}  // namespace

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto forWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow");
  int dpi = forWindow && hwnd ? static_cast<int>(forWindow(hwnd)) : 0;
  if (dpi <= 0) dpi = SystemDpi();
  return dpi > 0 ? dpi : kDesignDpi;
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = User32Entry<AdjustFn>("AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace forms
