#include "forms/ControlRow.h"

#include "forms/Control.h"

namespace forms {

HWND ControlRow::ParentHandle() const { return container ? container->Handle() : nullptr; }

DWORD ControlRow::CommonStyle(bool tabStop) const {
  DWORD style = 0;
  if (!Has(opHidden)) style |= WS_VISIBLE;
  if (tabStop && !Has(opNoTabStop)) style |= WS_TABSTOP;
  if (Has(opGroup)) style |= WS_GROUP;
  if (Has(opDisabled)) style |= WS_DISABLED;
  return style;
}

void CreateControls(std::initializer_list<ControlRow> table) {
  for (const ControlRow& row : table) row.create(*row.control, row);
}

}  // namespace forms
