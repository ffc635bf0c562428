#include "forms/ControlSpec.h"

#include "forms/Control.h"

namespace forms {

HWND ControlSpec::ParentHandle() const { return container ? container->Handle() : nullptr; }

DWORD ControlSpec::CommonStyle(bool tabStop) const {
  DWORD style = 0;
  if (!Has(opHidden)) style |= WS_VISIBLE;
  if (tabStop && !Has(opNoTabStop)) style |= WS_TABSTOP;
  if (Has(opGroup)) style |= WS_GROUP;
  if (Has(opDisabled)) style |= WS_DISABLED;
  return style;
}

void CreateControls(std::initializer_list<ControlSpec> table) {
  for (const ControlSpec& spec : table) spec.create(*spec.control, spec);
}

}  // namespace forms
