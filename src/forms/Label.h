// Static text. A row with width and height 0 sizes the label to its caption
// in the form's font.
#pragma once
#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class Label : public Control {
 public:
  using Control::Control;
  void Create(const ControlRow& row);
  // Fits the label to its text (one line).
  void AutoSize();
  void ApplyDpi() override;

 private:
  bool autoSize_ = false;  // sized by its caption, not by the table
};

}  // namespace forms
