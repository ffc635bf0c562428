// One page of the theme settings dialog: a tab sheet with its own controls
// and handlers, showing its part of the theme record and collecting it back.
// The dialog owns the pages, the record and OK/Cancel/Help; a new page is a
// new ThemePage and one line in the dialog's constructor.
#pragma once
#include "forms/Form.h"
#include "forms/OpenDialog.h"
#include "forms/PageControl.h"
#include "settings/Theme.h"

class ThemePage {
 public:
  // sheetName: the tab sheet's control name; helpContext: its help topic.
  ThemePage(forms::Form& dialog, const char* sheetName, int helpContext);
  virtual ~ThemePage() = default;
  ThemePage(const ThemePage&) = delete;
  ThemePage& operator=(const ThemePage&) = delete;

  // The sheet on the page control, then the page's controls on it.
  void Create(forms::PageControl& pages, const char* caption);
  virtual void Show(const settings::Theme& theme) = 0;
  // The page's values into the record; may raise (a delay that is no integer).
  virtual void Collect(settings::Theme& theme) const = 0;
  // Another page comes up, or OK is pressed: tests stop, choices are completed.
  virtual void Leave() {}
  // The dialog closes.
  virtual void Close() { Leave(); }

 protected:
  virtual void CreateControls() = 0;
  forms::Form& dialog_;
  forms::TabSheet Sheet;
};
