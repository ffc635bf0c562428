// Single-line edit. The length limit counts bytes of the ANSI text, so a
// limit of 30 takes 15 full-width (double-byte) characters; input that would
// pass it is refused with a beep, whether typed, pasted or replaced.
#pragma once
#include <functional>

#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class Edit : public Control {
 public:
  using Control::Control;
  void Create(const ControlRow& row);

  // 0 = no limit of ours.
  void SetMaxLength(int bytes);
  int MaxLength() const { return maxLength_; }
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);
  void SelectAll();

  std::function<void()> OnChange;
  std::function<void()> OnDoubleClick;

  bool OnCommand(WORD code) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  // Runs an input message through the edit and undoes it if the text grew
  // past the limit.
  LRESULT LimitedInput(UINT msg, WPARAM wp, LPARAM lp);

  int maxLength_ = 0;
  bool restoring_ = false;
};

}  // namespace forms
