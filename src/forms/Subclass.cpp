#include "forms/Subclass.h"

namespace forms {

namespace {
const char kBaseProcProp[] = "GlimoraBaseProc";
bool UnicodeWindows() { return (GetVersion() & 0x80000000u) == 0; }
}  // namespace

void Subclass(HWND hwnd, WNDPROC proc) {
  if (!hwnd) return;
  if (UnicodeWindows()) {
    SetPropA(hwnd, kBaseProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  } else {
    SetPropA(hwnd, kBaseProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  }
}

LRESULT CallBaseProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto base = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBaseProcProp));
  LRESULT r;
  if (!IsWindowUnicode(hwnd))
    r = base ? CallWindowProcA(base, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
  else
    r = base ? CallWindowProcW(base, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) RemovePropA(hwnd, kBaseProcProp);
  return r;
}

LRESULT CALLBACK UnicodeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallBaseProc(hwnd, msg, wp, lp);
}

}  // namespace forms
