#include "forms/ListBox.h"

#include <vector>

#include "forms/Application.h"
#include "forms/WideText.h"

namespace forms {

void ListBox::Create(const ControlRow& row) {
  DWORD style = row.CommonStyle(true) | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (row.Has(opMultiSelect)) style |= LBS_EXTENDEDSEL;
  if (row.Has(opTabStops)) style |= LBS_USETABSTOPS;
  CreateHandle("LISTBOX", "", style, WS_EX_CLIENTEDGE, row.left, row.top, row.width,
               row.height, row.ParentHandle());
}

int ListBox::Count() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

std::string ListBox::Item(int index) const {
  if (IsWindowUnicode(Handle())) return WideItem(Handle(), LB_GETTEXTLEN, LB_GETTEXT, index);
  LRESULT n = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return "";
  // A list box that keeps Unicode (the version 6 controls under Wine) may
  // count characters where the ANSI text takes two bytes for some: room for two each.
  std::vector<char> buf(static_cast<size_t>(n) * 2 + 2, '\0');
  SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  return buf.data();
}

void ListBox::Add(const std::string& text) {
  SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::Insert(int index, const std::string& text) {
  if (index >= Count()) index = -1;  // LB_INSERTSTRING appends at -1
  SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::Delete(int index) { SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
void ListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

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
    case LBN_SELCHANGE:
      if (OnClick) Guarded([this] { OnClick(); });
      return true;
    case LBN_DBLCLK:
      if (OnDoubleClick) Guarded([this] { OnDoubleClick(); });
      return true;
    default:
      return false;
  }
}

}  // namespace forms
