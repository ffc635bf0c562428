#include "forms/Edit.h"

#include "forms/Application.h"

namespace forms {

namespace {
// The edit's own window procedure, kept on the window so that messages that
// arrive after the object is gone still reach it.
const char kBaseProcProp[] = "GlimoraBaseProc";

LRESULT CallBase(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto base = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBaseProcProp));
  if (!IsWindowUnicode(hwnd))
    return base ? CallWindowProcA(base, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
  return base ? CallWindowProcW(base, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void Edit::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | ES_AUTOHSCROLL | ES_LEFT;
  if (row.Has(opReadOnly)) style |= ES_READONLY;
  CreateHandle("EDIT", row.caption, style, WS_EX_CLIENTEDGE, row.left, row.top, row.width,
               row.height, row.ParentHandle());
  HWND h = Handle();
  if (!h) return;
  // A Unicode subclass makes the edit a Unicode window: a double-byte
  // character then arrives whole (Wine's ANSI edit takes the two halves of a
  // WM_CHAR pair as two characters). The ANSI calls elsewhere still work.
  // Windows 95/98 have ANSI windows only (and an edit that counts bytes).
  bool unicode = (GetVersion() & 0x80000000u) == 0;
  if (unicode) {
    SetPropA(h, kBaseProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrW(h, GWLP_WNDPROC)));
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
  } else {
    SetPropA(h, kBaseProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(h, GWLP_WNDPROC)));
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
  }
}

void Edit::SetMaxLength(int bytes) {
  maxLength_ = bytes > 0 ? bytes : 0;
  // The control's own limit counts bytes on Windows but characters under
  // Wine; bytes >= characters, so it never refuses what ours allows.
  SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool Edit::ReadOnly() const { return (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY) != 0; }
void Edit::SetReadOnly(bool readOnly) { SendMessageA(Handle(), EM_SETREADONLY, readOnly, 0); }

void Edit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

bool Edit::OnCommand(WORD code) {
  if (code != EN_CHANGE || restoring_) return code == EN_CHANGE;
  if (OnChange) Guarded([this] { OnChange(); });
  return true;
}

LRESULT Edit::LimitedInput(UINT msg, WPARAM wp, LPARAM lp) {
  HWND h = Handle();
  if (maxLength_ == 0) return CallBase(h, msg, wp, lp);
  // The snapshot is taken in UTF-16, the control's own form, so that putting
  // it back loses nothing.
  std::wstring before(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  before.resize(static_cast<size_t>(GetWindowTextW(h, &before[0], static_cast<int>(before.size()))));
  DWORD selStart = 0, selEnd = 0;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  LRESULT r = CallBase(h, msg, wp, lp);
  if (static_cast<int>(Text().size()) > maxLength_) {
    restoring_ = true;
    SetWindowTextW(h, before.c_str());
    SendMessageW(h, EM_SETSEL, selStart, selEnd);
    restoring_ = false;
    MessageBeep(0);
  }
  return r;
}

LRESULT CALLBACK Edit::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCDESTROY) {
    LRESULT r = CallBase(hwnd, msg, wp, lp);
    RemovePropA(hwnd, kBaseProcProp);
    return r;
  }
  auto* self = dynamic_cast<Edit*>(Control::FromHandle(hwnd));
  if (!self) return CallBase(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_CHAR:
      // Control characters (backspace, Ctrl+V ...) do not add text themselves.
      if (wp < 0x20) break;
      [[fallthrough]];
    case WM_IME_CHAR:
    case WM_PASTE:
    case EM_REPLACESEL:
      return self->LimitedInput(msg, wp, lp);
    case WM_LBUTTONDBLCLK: {
      LRESULT r = CallBase(hwnd, msg, wp, lp);
      if (self->OnDoubleClick) Guarded([self] { self->OnDoubleClick(); });
      return r;
    }
    default:
      break;
  }
  return CallBase(hwnd, msg, wp, lp);
}

}  // namespace forms
