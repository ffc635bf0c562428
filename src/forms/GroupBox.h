// Group box: a container that draws an etched frame with its caption; the
// controls inside are its children and place themselves relative to it.
#pragma once
#include "forms/Container.h"

namespace forms {

class GroupBox : public Container {
 public:
  GroupBox(Form& form, const char* name) : Container(form, name, "TGroupBox") {}

 protected:
  void Paint(HDC dc, const RECT& client) override;
};

}  // namespace forms
