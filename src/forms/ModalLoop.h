// A form shown modally: the program's other windows are disabled, messages
// are pumped until the form has a modal result that its close handler
// accepts, then the other windows are enabled again and the form is hidden
// or freed as that handler said.
#pragma once
#include <windows.h>
#include <vector>

namespace forms {

class Form;

class ModalLoop {
 public:
  explicit ModalLoop(Form& form) : form_(form) {}
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;

  // Returns the modal result (mrCancel when the form went without one).
  int Run();

 private:
  void DisableOthers();
  // Runs FormClose; false (and no result) when the handler keeps the form open.
  bool CloseAccepted();

  Form& form_;
  std::vector<HWND> disabled_;  // enabled again when the loop ends
  bool freeAfter_ = false;
};

}  // namespace forms
