// Page control: a tab control whose pages (sheets) are containers. Sheets are
// created from the table with the page control as their container, in page
// order; the control itself fills the sheet's place, so a sheet row needs no
// coordinates. Only the active sheet is visible.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "forms/Container.h"
#include "forms/ControlRow.h"

namespace forms {

class TabSheet;

class PageControl : public Control {
 public:
  using Control::Control;
  void Create(const ControlRow& row);

  int PageCount() const { return static_cast<int>(sheets_.size()); }
  TabSheet& Page(int index) const { return *sheets_.at(static_cast<size_t>(index)); }
  int ActivePageIndex() const;
  TabSheet* ActivePage() const;
  // Shows the page; OnChange is not fired (only the user's changes fire it).
  void SetActivePageIndex(int index);

  std::function<void()> OnChange;  // after the user has turned to another page

  bool OnNotify(NMHDR* header, LRESULT& result) override;

 private:
  friend class TabSheet;
  void AddSheet(TabSheet& sheet, const std::string& caption);
  // Where the sheets stand: the tab control's client area below the tabs.
  RECT SheetPlace() const;
  void ShowActive();

  std::vector<TabSheet*> sheets_;
};

class TabSheet : public Container {
 public:
  TabSheet(Form& form, const char* name) : Container(form, name, "TTabSheet") {}
  // row.container must be the page control.
  void Create(const ControlRow& row);
  int PageIndex() const { return index_; }
  // Fills the page control's sheet area, whatever the scale.
  void ApplyDpi() override;

 private:
  int index_ = -1;
};

}  // namespace forms
