#include "forms/ComboBox.h"

#include <vector>

#include "forms/Application.h"
#include "forms/Subclass.h"
#include "forms/WideText.h"

namespace forms {

namespace {
const int kDropDownHeight = 200;
}  // namespace

void ComboBox::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
  CreateHandle("COMBOBOX", "", style, 0, row.left, row.top, row.width,
               row.height + kDropDownHeight, row.ParentHandle());
  SetText(row.caption);
  // The edit part becomes a Unicode window, so that double-byte characters
  // typed into it arrive whole (see Application::ProcessMessage).
  HWND edit = GetWindow(Handle(), GW_CHILD);
  if (edit && (GetVersion() & 0x80000000u) == 0)
    Subclass(edit, UnicodeProc);
}

int ComboBox::Count() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }

std::string ComboBox::Item(int index) const {
  if (IsWindowUnicode(Handle())) return WideItem(Handle(), CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
  LRESULT n = SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == CB_ERR) return "";
  // Characters or bytes, as the control counts them: room for two bytes each.
  std::vector<char> buf(static_cast<size_t>(n) * 2 + 2, '\0');
  SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  return buf.data();
}

void ComboBox::Add(const std::string& text) {
  SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::Clear() { SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }

int ComboBox::ItemIndex() const {
  if (!typed_) return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
  // Typed text counts as a choice only when it is exactly an item.
  std::string text = Text();
  for (int i = 0, n = Count(); i < n; ++i)
    if (Item(i) == text) return i;
  return -1;
}

void ComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  typed_ = false;
}

bool ComboBox::OnCommand(WORD code) {
  switch (code) {
    case CBN_EDITCHANGE:
      typed_ = true;
      break;
    case CBN_SELCHANGE:
      typed_ = false;
      break;
    default:
      return false;
  }
  if (OnChange) Guarded([this] { OnChange(); });
  return true;
}

}  // namespace forms
