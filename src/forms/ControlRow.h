// Table-driven creation of a form's controls. Each form lists its controls as
// rows of (field, caption, left, top, width, height, options[, container]),
// in tab order; the field's type is the control kind. The four numbers are
// design units (Dpi.h): a row is where a layout's numbers become a
// DesignRect. Numeric properties (ranges, length limits) are set in code
// after the table.
#pragma once
#include <windows.h>
#include <initializer_list>

#include "forms/Dpi.h"

namespace forms {

class Control;

// Options of a row. Each kind honours those that apply to it.
enum : unsigned {
  opGroup = 1u << 0,        // starts a keyboard group (WS_GROUP)
  opChecked = 1u << 1,      // radio button, check box
  opDefault = 1u << 2,      // button pressed by Enter
  opCancel = 1u << 3,       // button pressed by Escape
  opReadOnly = 1u << 4,     // edit
  opHidden = 1u << 5,
  opNoTabStop = 1u << 6,
  opMultiSelect = 1u << 7,  // list box: extended selection (Shift, Ctrl)
  opDisabled = 1u << 8,
  opTabStops = 1u << 9,     // list box: a tab in an item moves to the next column
};

struct ControlRow {
  template <class C>
  ControlRow(C& c, const char* caption, int left, int top, int width, int height,
              unsigned options = 0, Control* container = nullptr)
      : control(&c), create(&CreateAs<C>), caption(caption),
        place{Dip(left), Dip(top), Dip(width), Dip(height)}, options(options), container(container) {}

  Control* control;
  void (*create)(Control&, const ControlRow&);
  const char* caption;
  DesignRect place;
  unsigned options;
  Control* container;  // panel, group box, sheet or scroll box; nullptr = the form

  bool Has(unsigned option) const { return (options & option) != 0; }
  // The window the control goes into: the container's, or the form's (nullptr).
  HWND ParentHandle() const;
  // WS_VISIBLE, WS_TABSTOP, WS_GROUP and WS_DISABLED as the options say.
  DWORD CommonStyle(bool tabStop) const;

 private:
  template <class C>
  static void CreateAs(Control& c, const ControlRow& row) {
    static_cast<C&>(c).Create(row);
  }
};

// Creates every control of the table, in order (which is the tab order).
void CreateControls(std::initializer_list<ControlRow> table);

}  // namespace forms
