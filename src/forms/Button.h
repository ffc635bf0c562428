// Push button. A default button answers Enter, a cancel button Escape; a
// button with a modal result closes its modal form with that result.
#pragma once
#include <functional>
#include <string>

#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class Button : public Control {
 public:
  using Control::Control;
  void Create(const std::string& caption, const DesignRect& place = {}, HWND parent = nullptr);
  // From a form's table row: opDefault, opCancel and the common options.
  void Create(const ControlRow& row);
  void SetDefault(bool isDefault);
  void SetCancel(bool isCancel);

  std::function<void()> OnClick;
  int ModalResult = 0;

  // Presses the button: the modal result first, then the click handler.
  void Click();
  bool OnCommand(WORD code) override;
};

}  // namespace forms
