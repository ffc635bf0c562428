#include "forms/ListBox.h"

#include "forms/Application.h"

namespace forms {

const ItemControl::Messages& ListBox::ItemMessages() const {
  static const Messages list = {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_ADDSTRING, LB_RESETCONTENT};
  return list;
}

void ListBox::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (row.Has(opMultiSelect)) style |= LBS_EXTENDEDSEL;
  if (row.Has(opTabStops)) style |= LBS_USETABSTOPS;
  CreateHandle("LISTBOX", "", style, WS_EX_CLIENTEDGE, row.place, row.ParentHandle());
}

void ListBox::Insert(int index, const std::string& text) {
  if (index >= Count()) index = -1;  // LB_INSERTSTRING appends at -1
  SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::Delete(int index) { SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void ListBox::Move(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count()) return;
  std::string text = Item(from);
  Delete(from);
  Insert(to, text);
}

bool ListBox::MultiSelect() const {
  return (GetWindowLongA(Handle(), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

bool ListBox::Selected(int index) const {
  return SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
  if (MultiSelect()) {
    SendMessageA(Handle(), LB_SETSEL, selected, static_cast<LPARAM>(index));
  } else {
    SendMessageA(Handle(), LB_SETCURSEL, selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
  }
}

int ListBox::SelCount() const {
  if (MultiSelect()) return static_cast<int>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0));
  return SendMessageA(Handle(), LB_GETCURSEL, 0, 0) == LB_ERR ? 0 : 1;
}

int ListBox::ItemIndex() const {
  if (Count() == 0) return -1;
  UINT msg = MultiSelect() ? LB_GETCARETINDEX : LB_GETCURSEL;
  return static_cast<int>(SendMessageA(Handle(), msg, 0, 0));
}

void ListBox::SetItemIndex(int index) {
  if (MultiSelect()) {
    SendMessageA(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  } else {
    SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

bool ListBox::OnCommand(WORD code) {
  switch (code) {
    case LBN_SELCHANGE: return Raise(OnClick);
    case LBN_DBLCLK: return Raise(OnDoubleClick);
    default: return false;
  }
}

}  // namespace forms
