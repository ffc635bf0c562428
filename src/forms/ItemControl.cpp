#include "forms/ItemControl.h"

#include <vector>

#include "forms/WideText.h"

namespace forms {

int ItemControl::Count() const { return static_cast<int>(SendMessageA(Handle(), ItemMessages().count, 0, 0)); }

std::string ItemControl::Item(int index) const {
  if (IsWindowUnicode(Handle())) return WideItem(Handle(), ItemMessages().textLength, ItemMessages().text, index);
  LRESULT n = SendMessageA(Handle(), ItemMessages().textLength, static_cast<WPARAM>(index), 0);
  if (n < 0) return "";  // LB_ERR, CB_ERR
  // A control that keeps Unicode (the version 6 controls under Wine) may
  // count characters where the ANSI text takes two bytes for some: room for two each.
  std::vector<char> buf(static_cast<size_t>(n) * 2 + 2, '\0');
  SendMessageA(Handle(), ItemMessages().text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  return buf.data();
}

void ItemControl::Add(const std::string& text) {
  SendMessageA(Handle(), ItemMessages().add, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ItemControl::Clear() { SendMessageA(Handle(), ItemMessages().reset, 0, 0); }

}  // namespace forms
