#include "forms/ComboBox.h"

#include "forms/Application.h"
#include "forms/Subclass.h"

namespace forms {

namespace {
const int kDropDownHeight = 200;  // design units below the edit part, for the list
}  // namespace

const ItemControl::Messages& ComboBox::ItemMessages() const {
  static const Messages combo = {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ADDSTRING, CB_RESETCONTENT};
  return combo;
}

void ComboBox::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
  DesignRect place = row.place;
  place.height = Dip(place.height.Units() + kDropDownHeight);
  CreateHandle("COMBOBOX", "", style, 0, place, row.ParentHandle());
  SetText(row.caption);
  // The edit part becomes a Unicode window, so that double-byte characters
  // typed into it arrive whole (see Application::ProcessMessage).
  HWND edit = GetWindow(Handle(), GW_CHILD);
  if (edit && (GetVersion() & 0x80000000u) == 0)
    Subclass(edit, UnicodeProc);
}

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
  Raise(OnChange);
  return true;
}

}  // namespace forms
