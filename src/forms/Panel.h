// Panel: a container with a raised one-pixel bevel and an optional centred
// caption.
#pragma once
#include "forms/Container.h"
#include "forms/ControlRow.h"

namespace forms {

class Panel : public Container {
 public:
  Panel(Form& form, const char* name) : Container(form, name) {}
  void Create(const ControlRow& row);

 protected:
  void Paint(HDC dc, const RECT& client) override;
};

}  // namespace forms
