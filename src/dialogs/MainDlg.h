// The theme selection dialog, main window of the settings mode.
#pragma once
#include "forms/Form.h"

class TMainDialog : public forms::Form {
 public:
  TMainDialog();
};
