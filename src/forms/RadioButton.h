// Radio button. The radio buttons that share a parent window exclude each
// other: checking one (by click, keyboard or code) clears the others. A
// double click arrives after the first click has already checked it.
#pragma once
#include <functional>

#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class RadioButton : public Control {
 public:
  RadioButton(Form& form, const char* name) : Control(form, name) {}
  void Create(const ControlRow& row);

  bool Checked() const;
  void SetChecked(bool checked);

  std::function<void()> OnClick;
  std::function<void()> OnDoubleClick;

  bool OnCommand(WORD code) override;
};

}  // namespace forms
