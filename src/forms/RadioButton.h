// Radio button. The radio buttons that share a parent window exclude each
// other: checking one (by click, keyboard or code) clears the others. A
// double click arrives after the first click has already checked it.
#pragma once
#include <functional>

#include "forms/CheckBox.h"

namespace forms {

// A check box whose checking clears its siblings, and which also reports a double click.
class RadioButton : public CheckBox {
 public:
  using CheckBox::CheckBox;
  void Create(const ControlRow& row);
  void SetChecked(bool checked);

  std::function<void()> OnDoubleClick;

  bool OnCommand(WORD code) override;
};

}  // namespace forms
