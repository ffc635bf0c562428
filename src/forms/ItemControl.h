// What a list box and a combo box share: a list of text items, reached
// through the control's own messages (LB_* or CB_*).
#pragma once
#include <string>

#include "forms/Control.h"

namespace forms {

class ItemControl : public Control {
 public:
  int Count() const;
  std::string Item(int index) const;
  void Add(const std::string& text);
  void Clear();

  // The control's messages for the calls above.
  struct Messages {
    UINT count, textLength, text, add, reset;
  };

 protected:
  using Control::Control;
  virtual const Messages& ItemMessages() const = 0;
};

}  // namespace forms
