// Panel: a container with a raised one-pixel bevel and an optional centred
// caption.
#pragma once
#include "forms/Container.h"

namespace forms {

class Panel : public Container {
 public:
  Panel(Form& form, const char* name) : Container(form, name, "TPanel") {}

 protected:
  void Paint(HDC dc, const RECT& client) override;
};

}  // namespace forms
