// Base of the settings mode's dialogs (theme selection, theme settings,
// rename, other settings): each is made from its frame, centred on the
// screen, has an OK button, and is freed when it closes.
#pragma once
#include <string>

#include "forms/Button.h"
#include "forms/Form.h"

// What sets one dialog apart before its controls are made.
struct DialogFrame {
  const char* className;  // the window class the end-to-end tests look for
  const char* name;
  std::string caption;
  const char* fontFace;
  forms::Dip fontHeight;
  forms::DesignSize client;
  int helpContext;
};

class SettingsDialog : public forms::Form {
 public:
  forms::Button OKBtn{*this, "OKBtn"};

 protected:
  // Creates the window; the dialog then makes its controls from its table.
  explicit SettingsDialog(const DialogFrame& frame);
  virtual void OKBtnClick() = 0;
  void FormClose(forms::CloseAction& action) override;
};
