// Registration of this program's own window classes.
#pragma once
#include <windows.h>

namespace forms {

struct WindowClass {
  const char* name;
  WNDPROC proc;
  UINT style = 0;
  HBRUSH background = nullptr;
  bool arrowCursor = false;
  bool programIcon = false;  // icon resource 1
};

// Registers the class in this module unless it is already there.
void RegisterWindowClass(const WindowClass& wc);

}  // namespace forms
