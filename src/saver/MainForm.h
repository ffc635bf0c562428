// The saver window: full screen and topmost, or a child of the control
// panel's preview window.
#pragma once
#include "forms/Form.h"

class TMainForm : public forms::Form {
 public:
  TMainForm();
  // True in a real run; cleared for the preview (no input, no sound).
  bool SaverSession = true;

 protected:
  void FillCreateParams(forms::CreateParams& params) override;
  HBRUSH ClassBrush() const override { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }
};
