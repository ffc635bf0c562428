// List box of text items. With extended selection (opMultiSelect) several
// items may be selected; the current item is then the one with the focus
// rectangle. OnClick fires when the selection changes.
#pragma once
#include <functional>
#include <string>

#include "forms/ControlRow.h"
#include "forms/ItemControl.h"

namespace forms {

class ListBox : public ItemControl {
 public:
  using ItemControl::ItemControl;
  void Create(const ControlRow& row);

  void Insert(int index, const std::string& text);  // index == Count() appends
  void Delete(int index);
  // Moves an item (text only; selection is the caller's) to position to.
  void Move(int from, int to);

  bool MultiSelect() const;
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  int SelCount() const;
  // The current item: the focused one with extended selection, the selected
  // one otherwise; -1 for an empty list or no selection.
  int ItemIndex() const;
  void SetItemIndex(int index);

  std::function<void()> OnClick;
  std::function<void()> OnDoubleClick;

  bool OnCommand(WORD code) override;
 private:
  const Messages& ItemMessages() const override;
};

}  // namespace forms
