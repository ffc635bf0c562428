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
  Button(Form& form, const char* name) : Control(form, name) {}
  void Create(const std::string& caption, int left, int top, int width, int height,
              HWND parent = nullptr);
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
