// Subclassing a system control's window: the control's own procedure is
// kept on the window (not on an object), so messages that arrive after the
// object is gone still reach it, and it is forgotten at WM_NCDESTROY.
#pragma once
#include <windows.h>

namespace forms {

// Puts `proc` in front of the window's procedure. Where the system has
// Unicode windows (NT and later) the subclass is a Unicode one, which makes
// the window Unicode: a double-byte character typed into an edit then
// arrives whole (Wine's ANSI edit takes the two halves of a WM_CHAR pair as
// two characters). The ANSI calls elsewhere still work. Windows 95/98 have
// ANSI windows only.
void Subclass(HWND hwnd, WNDPROC proc);

// The window's own procedure, in the character set of the window. At
// WM_NCDESTROY it is called for the last time and forgotten.
LRESULT CallBaseProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// A subclass that only makes the window Unicode.
LRESULT CALLBACK UnicodeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace forms
