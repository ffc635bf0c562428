// Horizontal track bar with ticks below. OnChange fires when the user moves
// the slider to a new position (not when code sets it).
#pragma once
#include <functional>

#include "forms/Control.h"
#include "forms/ControlRow.h"

namespace forms {

class TrackBar : public Control {
 public:
  using Control::Control;
  void Create(const ControlRow& row);

  void SetRange(int min, int max);
  void SetLineSize(int step);   // arrow keys
  void SetPageSize(int step);   // Page Up / Down, clicks beside the slider
  void SetFrequency(int every); // a tick every so many units
  int Min() const;
  int Max() const;
  int Position() const;
  void SetPosition(int position);

  std::function<void()> OnChange;

  bool OnScroll(WORD code) override;

 private:
  int reported_ = 0;
};

}  // namespace forms
