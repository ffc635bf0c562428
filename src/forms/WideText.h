// Text of controls that keep Unicode (the version 6 common controls): read
// in UTF-16 and turned into the ANSI code page here, so no long text goes
// through the system's own ANSI conversion of the message (under Wine it
// broke the heap for texts of about 512 characters and more). Windows 95/98
// have no Unicode windows; there the ANSI messages are used as before.
#pragma once
#include <windows.h>

#include <string>

namespace forms {

// Plain conversions with a code page (CP_ACP, CP_UTF8); a character the
// code page lacks becomes its default character.
std::string Narrow(const std::wstring& wide, UINT codePage);
std::wstring Widen(const std::string& text, UINT codePage);

inline std::string AnsiFromWide(const std::wstring& wide) { return Narrow(wide, CP_ACP); }

// Exact conversions with the ANSI code page, for names the program must open
// again: ToAnsi is false when a character has no form there (the ANSI
// functions the rest of the program uses could not open the name).
bool ToAnsi(const std::wstring& text, std::string& out);
inline std::wstring FromAnsi(const std::string& text) { return Widen(text, CP_ACP); }

// Item `index` of a list box (LB_GETTEXTLEN/LB_GETTEXT) or combo box
// (CB_GETLBTEXTLEN/CB_GETLBTEXT) that is a Unicode window; "" when there is none.
std::string WideItem(HWND control, UINT lengthMsg, UINT textMsg, int index);

// The window text of a Unicode window.
std::string WideWindowText(HWND window);

}  // namespace forms
