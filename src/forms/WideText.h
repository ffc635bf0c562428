// Text of controls that keep Unicode (the version 6 common controls): read
// in UTF-16 and turned into the ANSI code page here, so no long text goes
// through the system's own ANSI conversion of the message (under Wine it
// broke the heap for texts of about 512 characters and more). Windows 95/98
// have no Unicode windows; there the ANSI messages are used as before.
#pragma once
#include <windows.h>

#include <string>

namespace forms {

std::string AnsiFromWide(const std::wstring& wide);

// Item `index` of a list box (LB_GETTEXTLEN/LB_GETTEXT) or combo box
// (CB_GETLBTEXTLEN/CB_GETLBTEXT) that is a Unicode window; "" when there is none.
std::string WideItem(HWND control, UINT lengthMsg, UINT textMsg, int index);

// The window text of a Unicode window.
std::string WideWindowText(HWND window);

}  // namespace forms
