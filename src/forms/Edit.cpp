#include "forms/Edit.h"

#include "forms/Application.h"
#include "forms/Subclass.h"

namespace forms {

namespace {
LRESULT CallBase(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return CallBaseProc(hwnd, msg, wp, lp); }
}  // namespace

void Edit::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | ES_AUTOHSCROLL | ES_LEFT;
  if (row.Has(opReadOnly)) style |= ES_READONLY;
  CreateHandle("EDIT", row.caption, style, WS_EX_CLIENTEDGE, row.place, row.ParentHandle());
  // The length limit and the double click; Unicode where the system has it.
  Subclass(Handle(), SubclassProc);
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
  Raise(OnChange);
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
  if (msg == WM_NCDESTROY) return CallBase(hwnd, msg, wp, lp);
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
