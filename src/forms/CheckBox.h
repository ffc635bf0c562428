// Check box (two states).
#pragma once
#include <functional>

#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class CheckBox : public Control {
 public:
  using Control::Control;
  void Create(const ControlRow& row);

  bool Checked() const;
  void SetChecked(bool checked);

  std::function<void()> OnClick;

  bool OnCommand(WORD code) override;
};

}  // namespace forms
