// Editable drop-down combo box. ItemIndex is the chosen item, or -1 once the
// user has typed text that is no item ("no selection").
#pragma once
#include <functional>
#include <string>

#include "forms/ControlRow.h"
#include "forms/ItemControl.h"

namespace forms {

class ComboBox : public ItemControl {
 public:
  using ItemControl::ItemControl;
  // Height 0 = the font's height; the drop-down list gets room below it.
  void Create(const ControlRow& row);

  int ItemIndex() const;
  // Selects an item and shows its text; -1 empties the text.
  void SetItemIndex(int index);

  std::function<void()> OnChange;  // text typed or item chosen

  bool OnCommand(WORD code) override;

 private:
  bool typed_ = false;  // text edited since the last choice of an item
  const Messages& ItemMessages() const override;
};

}  // namespace forms
